// HTML Help on Linux: the entry point the help bridge calls, handing each
// request to a CHM viewer from Debian (xchm).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

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

// HtmlHelpA(owner, file, command, data). Owner 0 is no window.
using HtmlHelpEntryPoint =
    std::function<void(std::uintptr_t owner, const std::string& file, unsigned command, const HtmlHelpData& data)>;

// The "library": the entry point when a CHM viewer is installed, an empty
// function when none is (then help does nothing visible, as without the
// library on Windows). `viewer` names the program; empty searches PATH
// for xchm.
HtmlHelpEntryPoint load_html_help(const std::string& viewer = {});

// The viewer's arguments for one request (empty for none to start).
std::vector<std::string> viewer_arguments(const std::string& file, unsigned command, const HtmlHelpData& data);

} // namespace enlazor::help
