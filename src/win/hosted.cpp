#include "hosted.h"

#include "app/hosted/hosted_arguments.h"
#include "app/shell/shell_texts.h"
#include "storage/error.h"

namespace enlazor::win {

std::vector<std::string> command_line_arguments() {
    std::vector<std::string> arguments = split_command_line(GetCommandLineA());
    // The first is the program's own path, which never counts.
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    return arguments;
}

HWND host_window(std::uint32_t id) {
    const HWND host = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
    if (id != 0 && !IsWindow(host))
        throw Error(app::texts::no_host_window);
    return host;
}

HWND dialog_owner(const Placement& placement, HWND own) {
    if (placement.host && IsWindow(placement.host))
        return GetAncestor(placement.host, GA_ROOT);
    return own && IsWindow(own) ? own : nullptr;
}

POINT centred_position(SIZE size) {
    return {(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
}

} // namespace enlazor::win
