// Start-up on Windows: the help bridge, the main window (which settles
// normal or hosted mode), and the message loop until the main window closes.

#include "shell/help/own_help.h"
#include "shell/help/sto_html_help.h"
#include "shell/system/profile_ini.h"
#include "shell/window/core_conversions.h"
#include "shell/window/shell_texts.h"
#include "hosted.h"
#include "main_form.h"
#include "message_boxes.h"
#include "platform/executable_folder.h"
#include "shell/system/html_help.h"
#include "base/error.h"
#include "storage/settings.h"

#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <memory>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Help is ready before any window, whether it is ever asked for or not.
    // Without a SAGA.chm beside the program, its requests go to our own help.
    auto help = enlazor::help::make_help_bridge(
        enlazor::help::with_own_help(enlazor::help::load_html_help(), enlazor::executable_folder(),
                                     enlazor::app::texts::help_file_name),
        enlazor::app::texts::help_file_name, enlazor::executable_folder());

    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    enlazor::app::ShellState state;
    state.arguments = enlazor::win::command_line_arguments();
    state.completion_ini = enlazor::completion_ini_path();

    int exit_code = 0;
    try {
        enlazor::win::TMForm window(state,
                                    std::make_unique<enlazor::app::CoreConversions>(enlazor::settings_from_environment()),
                                    enlazor::default_saga_dir(), help->system);
        window.run();
    } catch (const std::exception& error) {
        // Also a host window that is not there: the program ends before any
        // window shows, and writes no ini file.
        enlazor::win::show_error_box(nullptr, enlazor::error_box_text(error.what()));
        exit_code = 1;
    }
    help->system.ShutDown();
    return exit_code;
}
