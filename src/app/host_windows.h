// The windows of other programs that hosted mode lives in. The program uses
// the X server's (X11HostWindows); tests put a stand-in in its place.
#pragma once

#include <cstdint>
#include <functional>

class QWidget;

namespace enlazor::app {

class HostWindows {
public:
    virtual ~HostWindows() = default;

    // Makes the not yet shown top-level `window` a child of window `host`.
    // `host_gone` is called later, from the event loop, once `host` has been
    // destroyed. Throws Error when `host` names no window.
    virtual void embed(QWidget& window, std::uint32_t host, std::function<void()> host_gone) = 0;

    // Makes a dialog of the embedded window belong to the host (transient
    // for it), so the window manager keeps it above the host. Called while
    // the dialog is being shown, before it appears.
    virtual void adopt_dialog(QWidget& dialog) = 0;
};

} // namespace enlazor::app
