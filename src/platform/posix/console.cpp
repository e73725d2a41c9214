#include "platform/console.h"

namespace enlazor::platform {

// Linux hands the arguments over as the bytes typed, UTF-8 on any current
// system, and terminals read UTF-8: nothing to convert.
std::vector<std::string> utf8_arguments(int argc, char** argv) {
    if (argc < 1)  // a program may be started with no arguments at all, not even its name
        return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

void prepare_utf8_console() {}

std::string printed_text(std::string_view text) { return std::string(text); }

} // namespace enlazor::platform
