#include "platform/executable_folder.h"

#include <system_error>

namespace enlazor {

std::filesystem::path executable_folder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return exe.parent_path();
    // A working folder that has been removed cannot be named either: then
    // the ini file goes nowhere and its write fails with a message.
    std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path() : here;
}

} // namespace enlazor
