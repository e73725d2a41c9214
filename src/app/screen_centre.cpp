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
    window.move(area.topLeft() + centred_offset(area.size(), outer));
}

} // namespace enlazor::app
