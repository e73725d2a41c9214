#include "host_overlay.h"

namespace enlazor::win {

RECT HostOverlay::host_client() const {
    RECT client{};
    GetClientRect(host_, &client);
    MapWindowPoints(host_, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

POINT HostOverlay::position() const {
    const RECT client = host_client();
    return {client.left + offset_.x, client.top + offset_.y};
}

void HostOverlay::follow(HWND window) {
    // A child disappears with its host's top-level window; so does the
    // overlay, and it comes back with it.
    const HWND top = GetAncestor(host_, GA_ROOT);
    const bool host_showing = top && IsWindowVisible(host_) && !IsIconic(top);
    if (!host_showing) {
        if (shown_ && IsWindowVisible(window)) {
            ShowWindow(window, SW_HIDE);
            hidden_with_host_ = true;
        }
        return;
    }

    const RECT client = host_client();
    if (!placed_ || !EqualRect(&client, &placed_for_)) {
        const POINT corner{client.left + offset_.x, client.top + offset_.y};
        SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        clip(window, client, corner);
        placed_for_ = client;
        placed_ = true;
    }
    if (shown_ && hidden_with_host_) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        hidden_with_host_ = false;
    }
}

// A child never shows outside its parent's client area: the part of the
// window beyond the host's is cut away, and all of it when the host has
// shrunk past the window's corner.
void HostOverlay::clip(HWND window, const RECT& client, POINT corner) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const RECT placed{corner.x, corner.y, corner.x + (frame.right - frame.left), corner.y + (frame.bottom - frame.top)};
    RECT visible{};
    IntersectRect(&visible, &client, &placed);
    if (EqualRect(&visible, &placed)) {
        SetWindowRgn(window, nullptr, TRUE);
        return;
    }
    OffsetRect(&visible, -corner.x, -corner.y);
    // The system owns the region once it is set.
    HRGN region = CreateRectRgnIndirect(&visible);
    if (region && !SetWindowRgn(window, region, TRUE))
        DeleteObject(region);
}

} // namespace enlazor::win
