// The two things every window class of the program does alike: register
// itself once, and find the object behind a window from its handle.
#pragma once

#include <windows.h>

namespace enlazor::win {

// Registers a window class of this program; a class already registered
// (a second window of it) stays as it is.
inline void register_window_class(const wchar_t* name, WNDPROC procedure, HBRUSH background = nullptr,
                                  HICON icon = nullptr) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = background;
    window_class.hIcon = icon;
    window_class.lpszClassName = name;
    RegisterClassExW(&window_class);
}

// The object that made `window`, handed to CreateWindowExW as its last
// argument and kept with the window from its first message on; null before
// that and after the window is gone.
template <typename Owner>
Owner* owner_of(HWND window, UINT message, LPARAM lparam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return owner;
}

// The window procedure of an object that keeps its window in `handle` and
// answers its messages in `handle_message`: the handle is known from the
// first message on and forgotten only after the last, so every message,
// WM_NCDESTROY included, reaches the default handling with its window.
template <typename Owner>
LRESULT dispatch_to_owner(HWND window, UINT message, WPARAM wparam, LPARAM lparam, HWND Owner::*handle,
                          LRESULT (Owner::*handle_message)(UINT, WPARAM, LPARAM)) {
    Owner* owner = owner_of<Owner>(window, message, lparam);
    if (!owner)
        return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCCREATE)
        owner->*handle = window;
    const LRESULT result = (owner->*handle_message)(message, wparam, lparam);
    if (message == WM_NCDESTROY)
        owner->*handle = nullptr;
    return result;
}

// The message loop of a window that answers some keys itself (`own_key`,
// true when it did) and leaves Tab, the arrows and the mnemonics to the
// dialog manager; until the program's quit message.
template <typename OwnKey>
void run_message_loop(const HWND& window, OwnKey own_key) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (own_key(message))
            continue;
        if (window && IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace enlazor::win
