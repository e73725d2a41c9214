#include "app/x11_host_windows.h"

#include "shell/window/shell_texts.h"
#include "base/error.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>

namespace enlazor::app {

namespace {

// Replies of xcb are the caller's to free.
template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> own(T* reply) {
    return Reply<T>(reply, &std::free);
}

} // namespace

bool x11_display_reachable() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = connection != nullptr && xcb_connection_has_error(connection) == 0;
    if (connection != nullptr)
        xcb_disconnect(connection);
    return reachable;
}

X11HostWindows::X11HostWindows() {
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        connection_ = x11->connection();
}

X11HostWindows::~X11HostWindows() {
    if (qGuiApp && host_)
        qGuiApp->removeNativeEventFilter(this);
}

bool X11HostWindows::host_exists(std::uint32_t host) const {
    xcb_generic_error_t* error = nullptr;
    auto reply = own(xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, host), &error));
    std::free(error);
    return reply != nullptr;
}

void X11HostWindows::embed(QWidget& window, std::uint32_t host, std::function<void()> host_gone) {
    // Qt alone would only log that the parent is missing and show a
    // top-level window instead; Horalis would then wait for a window it
    // cannot see.
    if (!connection_ || !host_exists(host))
        throw Error(texts::no_host_window);

    host_ = host;
    host_gone_ = std::move(host_gone);
    qGuiApp->installNativeEventFilter(this);

    window.winId();
    host_window_.reset(QWindow::fromWinId(host));
    window.windowHandle()->setParent(host_window_.get());

    const std::uint32_t top_level = top_level_of(host);
    host_top_level_.reset(QWindow::fromWinId(top_level));

    // Watched only now, so nothing Qt did to the host above undoes it.
    watch_host();
}

void X11HostWindows::watch_host() {
    xcb_generic_error_t* error = nullptr;
    auto attributes =
        own(xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, host_), &error));
    std::free(error);
    if (!attributes) {
        report_host_gone();  // destroyed while we were settling in
        return;
    }
    // Our own selection on the host, kept with whatever we selected before.
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    error = xcb_request_check(connection_,
                              xcb_change_window_attributes_checked(connection_, host_, XCB_CW_EVENT_MASK, &mask));
    if (error) {
        std::free(error);
        report_host_gone();
    }
}

// The window's ancestor that is a child of the root: the window the window
// manager knows, which dialogs can be transient for.
std::uint32_t X11HostWindows::top_level_of(std::uint32_t window) const {
    for (int depth = 0; depth < 64; ++depth) {
        xcb_generic_error_t* error = nullptr;
        auto tree = own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), &error));
        std::free(error);
        if (!tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
    return window;
}

void X11HostWindows::adopt_dialog(QWidget& dialog) {
    if (!host_top_level_)
        return;
    dialog.winId();
    dialog.windowHandle()->setTransientParent(host_top_level_.get());
}

bool X11HostWindows::nativeEventFilter(const QByteArray& event_type, void* message, qintptr*) {
    if (event_type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
        static_cast<const xcb_destroy_notify_event_t*>(message)->window == host_)
        report_host_gone();
    return false;  // Qt still sees every event
}

// From the event loop, not from inside Qt's event handling or embed().
void X11HostWindows::report_host_gone() {
    if (gone_reported_)
        return;
    gone_reported_ = true;
    QMetaObject::invokeMethod(qGuiApp, [gone = host_gone_] {
        if (gone)
            gone();
    }, Qt::QueuedConnection);
}

} // namespace enlazor::app
