// Enlazor's own help, Enlazor-ayuda.chm: what F1 and "F1 AYUDA" open when
// no SAGA.chm lies beside the program (Horalis's or SAGA's own help file,
// when there is one, always wins), and what F1 opens in "Comprobar datos".
#pragma once

#include "shell/system/html_help.h"

#include <filesystem>

namespace enlazor::help {

// The file name of our help, beside the Windows programs and under
// share/enlazor/ayuda on Linux.
inline constexpr const char* own_help_file_name = "Enlazor-ayuda.chm";

// The help context of the page on checking, the "Comprobar datos" window's.
inline constexpr int checking_help_context = 2;

// Where our help lies for a program in `executable_dir`: beside it (the
// Windows programs, and copies in Horalis's folder), else in
// ../share/enlazor/ayuda (the build tree and an installation under any
// prefix), else in /usr/share/enlazor/ayuda (the package, for copies of
// the programs made elsewhere). Empty when it is nowhere.
std::filesystem::path find_own_help(const std::filesystem::path& executable_dir);

// `html_help` with one change: a request on `saga_chm` (with or without a
// "::/topic") goes to `own_help` while no file `saga_chm` exists. Whether it
// exists is asked at each request, so a SAGA.chm put there later wins at once.
HtmlHelpEntryPoint prefer_own_help_when_missing(HtmlHelpEntryPoint html_help, const std::filesystem::path& saga_chm,
                                                const std::filesystem::path& own_help);

// The entry point the main window's help bridge uses: HTML Help, sent to our
// help when the executable's folder has no `help_file_name`. Unchanged when
// there is no viewer or our help is nowhere.
HtmlHelpEntryPoint with_own_help(HtmlHelpEntryPoint html_help, const std::filesystem::path& executable_dir,
                                 const char* help_file_name);

// F1 in "Comprobar datos": our help at the page on checking. HTML Help is
// loaded on the first request and stays for the life of the process; with
// no viewer, or no help file, nothing visible happens.
void show_checking_help();

} // namespace enlazor::help
