// Hosted mode's command line on arbitrary text: the split, the direction word
// and the window id of every argument. Besides not crashing, the split must
// give back exactly the arguments that Horalis quoted one by one, which is
// how hosted_arguments rebuilds the line from argv.
#include "fuzz_check.h"

#include "shell/hosted/hosted_arguments.h"
#include "base/error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args =
        enlazor::split_command_line(std::string_view(reinterpret_cast<const char*>(data), size));

    std::string quoted_line;
    for (const std::string& arg : args) {
        FUZZ_CHECK(!arg.empty());
        FUZZ_CHECK(arg.find('"') == std::string::npos);
        (void)enlazor::direction_of(arg);
        try {
            (void)enlazor::host_window_id(arg);
        } catch (const enlazor::Error&) {
        }
        quoted_line += '"' + arg + "\" ";
    }
    FUZZ_CHECK(enlazor::split_command_line(quoted_line) == args);
    return 0;
}
