// Host windows on the X server the application is connected to: the host
// is checked and watched through Qt's own X connection, and the window
// becomes its child through Qt, so Qt keeps track of where it is.
#pragma once

#include "app/host_windows.h"

#include <QAbstractNativeEventFilter>

#include <memory>

class QWindow;
struct xcb_connection_t;

namespace enlazor::app {

// Whether the X server that DISPLAY names accepts a connection. Hosted mode
// needs it before Qt starts: without X there is no window to live in.
bool x11_display_reachable();

class X11HostWindows final : public HostWindows, private QAbstractNativeEventFilter {
public:
    // Without an X connection (another Qt platform) no window can be a host.
    X11HostWindows();
    ~X11HostWindows() override;
    X11HostWindows(const X11HostWindows&) = delete;
    X11HostWindows& operator=(const X11HostWindows&) = delete;

    void embed(QWidget& window, std::uint32_t host, std::function<void()> host_gone) override;
    void adopt_dialog(QWidget& dialog) override;

private:
    bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;
    bool host_exists(std::uint32_t host) const;
    void watch_host();
    std::uint32_t top_level_of(std::uint32_t window) const;
    void report_host_gone();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t host_ = 0;
    std::function<void()> host_gone_;
    bool gone_reported_ = false;
    // The host as Qt sees it: the parent of the embedded window, and the
    // top-level window it lies in, which owns our dialogs.
    std::unique_ptr<QWindow> host_window_;
    std::unique_ptr<QWindow> host_top_level_;
};

} // namespace enlazor::app
