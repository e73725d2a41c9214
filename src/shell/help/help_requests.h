// What the main window asks of the help system: "F1 AYUDA" and the F1 key.
// Both windows, Qt and Win32, ask the same way.
#pragma once

#include "shell/help/help_system.h"

namespace enlazor::help {

// Button1Click: the application's help file is set to SAGA.chm again, then
// the WinHelp-style contents command, which the bridge turns into the table
// of contents.
void show_help_contents(HelpSystem& help);

// F1 anywhere in the main window: the help context of the window, its
// panels and its buttons, with the application's help file.
void show_help_context(HelpSystem& help);

// The help context of the main window and everything on it.
inline constexpr int main_window_help_context = 1;

} // namespace enlazor::help
