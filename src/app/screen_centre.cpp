#include "app/screen_centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace enlazor::app {

void centre_on_screen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = window.frameGeometry().size();
    window.move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

} // namespace enlazor::app
