// Hosted mode on Windows: Horalis starts Enlazor with a direction word and
// the handle of one of its windows, in hexadecimal, and Enlazor's window
// lives inside that window: a borderless child on Windows, a borderless
// popup laid over it under Wine (see host_overlay.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace enlazor::win {

// The arguments after the program's path, from the process's one command
// line, split as Windows' start-up code splits it. Each is 8-bit text of
// the system code page, as the command line gives it.
std::vector<std::string> command_line_arguments();

// Where the main window lives.
struct Placement {
    // The host window; none in normal mode and for handle 0.
    HWND host = nullptr;
};

// Whether the window lives over `host` rather than as its child: under
// Wine, when the host belongs to another process. ENLAZOR_HOSTED_PLACEMENT
// set to "child" or "overlay" forces either way, for support; any other
// value counts as unset.
bool overlay_host(HWND host);

// The window that handle `id` names. Throws Error "Controlador de ventana no
// válido" when it names no window. Id 0 is no host at all: the window is
// then centred on the screen.
HWND host_window(std::uint32_t id);

// The window that owns the file dialog and the message boxes: the host's
// top-level window, so they come up over Horalis, not behind it; `own` when
// not inside a host (or when the host is gone already).
HWND dialog_owner(const Placement& placement, HWND own);

// The top-left corner of a window of `size` centred on the screen, halves
// with the fraction dropped; inside a host the same offsets count from the
// host's client area.
POINT centred_position(SIZE size);

} // namespace enlazor::win
