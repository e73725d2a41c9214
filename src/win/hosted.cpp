#include "hosted.h"

#include "shell/hosted/hosted_arguments.h"
#include "shell/window/shell_texts.h"
#include "base/error.h"

#include <string_view>

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

namespace {

// Wine's ntdll has an export of its own that Windows' lacks.
bool running_under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

bool overlay_host(HWND host) {
    wchar_t forced[16] = L"";
    const DWORD length = GetEnvironmentVariableW(L"ENLAZOR_HOSTED_PLACEMENT", forced, 16);
    if (length > 0 && length < 16) {
        if (std::wstring_view(forced) == L"child")
            return false;
        if (std::wstring_view(forced) == L"overlay")
            return true;
    }
    DWORD host_process = 0;
    GetWindowThreadProcessId(host, &host_process);
    return running_under_wine() && host_process != GetCurrentProcessId();
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
