// HTML Help as the help bridge calls it: the commands the program uses and
// the entry point HtmlHelpA, loaded once at start. On Windows it is the
// system's own, from HHCtrl.ocx; on Linux each request goes to a CHM viewer
// from Debian (xchm).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

namespace enlazor::help {

// The HTML Help commands the program uses.
enum HtmlHelpCommand : unsigned {
    HH_DISPLAY_TOPIC = 0,
    HH_DISPLAY_TOC = 1,
    HH_DISPLAY_INDEX = 2,
    HH_HELP_CONTEXT = 15,
    HH_CLOSE_ALL = 18,
};

// A command's data: a number (context id, or 0) or a keyword text.
using HtmlHelpData = std::variant<std::uintptr_t, std::string>;

// HtmlHelpA(owner, file, command, data). Owner 0 is no window; the file
// and a keyword are UTF-8, as paths give their text (on Windows they reach
// HtmlHelpA in the system code page).
using HtmlHelpEntryPoint =
    std::function<void(std::uintptr_t owner, const std::string& file, unsigned command, const HtmlHelpData& data)>;

// Loads HTML Help and gives its entry point, or an empty function when it
// is not there (then help does nothing visible, and says nothing).
// `provider` names what to load instead of the usual: on Windows the
// library (HHCtrl.ocx), on Linux the viewer program (ENLAZOR_CHM_VIEWER,
// else xchm, searched on PATH). The library stays loaded, and started
// viewers known, for as long as a copy of the entry point lives.
HtmlHelpEntryPoint load_html_help(const std::string& provider = {});

} // namespace enlazor::help
