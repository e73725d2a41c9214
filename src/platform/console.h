// The command line and the terminal of enlazor-cli.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace enlazor::platform {

// The arguments after the program's path, as UTF-8, whatever the system's
// code page (on Windows they are read as UTF-16 from the system).
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Makes UTF-8 written to standard output and error read right: on Windows
// the console is switched to UTF-8; a redirected stream receives UTF-8 bytes.
void prepare_utf8_console();

// The bytes standard output writes to a file for `text`: on Windows the C
// library's text mode ends each line with CR LF, as Notepad expects; on
// Linux the text as it is. A report saved from a window is these bytes, the
// same file a redirected enlazor-cli makes.
std::string printed_text(std::string_view text);

} // namespace enlazor::platform
