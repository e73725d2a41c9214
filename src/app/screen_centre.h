// Places a top-level window in the middle of its screen.
#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace enlazor::app {

// Centres the window's outer frame (its client area while the frame is not
// yet known) on the whole screen it is on.
void centre_on_screen(QWidget& window);

// Where a window of `window` size starts to lie centred in `area`, halves
// with the fraction dropped.
inline QPoint centred_offset(const QSize& area, const QSize& window) {
    return {(area.width() - window.width()) / 2, (area.height() - window.height()) / 2};
}

} // namespace enlazor::app
