// The steps of hosted mode that do not depend on the window's toolkit: what
// FormCreate reads from the command line, the direction FormShow starts,
// and the report FormClose leaves for Horalis. Each window adds the part
// that is its own: living inside the host window.
#pragma once

#include "shell/window/direction_frames.h"
#include "shell/window/frame_ui.h"
#include "shell/window/shell_state.h"

#include <cstdint>
#include <optional>

namespace enlazor::app {

// FormCreate's first steps: resets the completion flag (in every mode) and
// gives the host window's id when the command line asks for hosted mode.
// Nothing in normal mode, also after a handle that is no number: the error
// box has then said why, and the window comes up with its border. The
// window sets the hosted marker once it lives where the id says.
std::optional<std::uint32_t> host_from_command_line(ShellState& state, FrameUi& ui);

// FormShow: runs the direction the command line names, when it has two
// arguments (counted again now, whatever the hosted marker says).
void run_hosted_direction(const ShellState& state, DirectionFrames& frames);

// FormClose: in hosted mode, the completion flag goes to the ini file. A
// failed write is shown in the error box; the window closes all the same,
// since Horalis waits for the process to end.
void report_completion(const ShellState& state, FrameUi& ui);

} // namespace enlazor::app
