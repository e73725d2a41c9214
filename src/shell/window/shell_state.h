// The shell's program-wide state: one instance per process, alive from
// start-up to exit, touched only by the user-interface thread. Both frames
// and hosted mode read and write it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace enlazor::app {

struct ShellState {
    // The command line after the program path. Two arguments, a direction
    // word and the host window, are what Horalis passes to run us hosted.
    std::vector<std::string> arguments;

    // Where hosted mode leaves the completion flag for Horalis.
    std::filesystem::path completion_ini;

    // Full path of the SAGA document confirmed last in OpenDialogXML, whether
    // or not it exists. Shared by both directions and never cleared, so a
    // cancelled dialog works again on the same file.
    std::filesystem::path chosen_path;

    // 2 once hosted mode has been set up, else 0.
    int hosted_marker = 0;

    // What hosted mode reports to Horalis: 1 finished, -1 export found no
    // document, 0 everything else.
    int completion_flag = 0;

    // The main window has closed: the program is ending, and a frame that
    // was waiting in a dialog (its host went away) has nothing left to do.
    bool window_closed = false;

    bool hosted() const { return hosted_marker == 2; }
};

} // namespace enlazor::app
