#include "app/gradient_panel.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

namespace enlazor::app {

GradientPanel::GradientPanel(const PanelGradient& gradient, QWidget* parent)
    : QWidget(parent), gradient_(gradient) {
    // Every pixel is painted here; nothing behind needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPanel::paintEvent(QPaintEvent* event) {
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0.0, gradient_.end);
    fill.setColorAt(0.5, gradient_.middle);
    fill.setColorAt(1.0, gradient_.start);
    QPainter painter(this);
    painter.fillRect(event->rect(), fill);
}

} // namespace enlazor::app
