// Hosted under Wine, the window cannot be a child of Horalis's window: Wine
// keeps one drawing surface per top-level window, in the process that owns
// it, so a child that belongs to another process is never drawn and the
// user sees only the host's background. The window lives instead as a
// borderless popup owned by the host's top-level window, laid over the
// host's client area exactly where the child would be, clipped to that
// area, and kept there while the host moves, is resized, minimised or
// hidden. Owned, it stays above the host and below other programs' windows.
#pragma once

#include <windows.h>

namespace enlazor::win {

class HostOverlay {
public:
    // Over `host`'s client area, with the window's top-left corner `offset`
    // from the area's own, as a child's would be.
    HostOverlay(HWND host, POINT offset) : host_(host), offset_(offset) {}

    // The window's top-left corner on the screen, now.
    POINT position() const;

    // Puts `window` in place again after the host moved or changed size,
    // and hides it while the host's top-level window is minimised or hidden
    // (showing it again after, without taking the focus). Cheap when
    // nothing changed: it is called several times a second.
    void follow(HWND window);

    // The window was hidden or shown by the program itself; while hidden it
    // stays so whatever the host does.
    void set_shown(bool shown) { shown_ = shown; }

private:
    // The host's client area in screen coordinates.
    RECT host_client() const;
    void clip(HWND window, const RECT& client, POINT corner);

    HWND host_;
    POINT offset_;
    RECT placed_for_{};  // the client area the window was last placed over
    bool placed_ = false;
    bool shown_ = false;
    bool hidden_with_host_ = false;
};

} // namespace enlazor::win
