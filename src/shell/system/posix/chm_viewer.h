// How an HTML Help request reaches the CHM viewer on Linux.
#pragma once

#include "shell/system/html_help.h"

#include <string>
#include <vector>

namespace enlazor::help {

// The viewer's arguments for one request (empty for none to start): a
// context opens that context, every other display request the file.
std::vector<std::string> viewer_arguments(const std::string& file, unsigned command, const HtmlHelpData& data);

} // namespace enlazor::help
