#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <functional>

namespace enlazor::app {

namespace {

using GlyphPainter = std::function<void(QPainter&)>;

// One pixmap per device pixel ratio, drawn in glyph coordinates
// (0..glyph_size), so the glyph stays sharp on dense screens too.
QIcon paint_icon(const GlyphPainter& draw) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(static_cast<int>(glyph_size * ratio), static_cast<int>(glyph_size * ratio));
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void draw_check_mark(QPainter& painter) {
    QPainterPath tick;
    tick.moveTo(3.0, 9.5);
    tick.lineTo(7.0, 13.5);
    tick.lineTo(15.0, 4.0);
    painter.setPen(QPen(QColor(0, 100, 0), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    painter.setPen(QPen(QColor(0, 170, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
}

void draw_open_door(QPainter& painter) {
    // The doorway, dark inside its frame.
    const QRectF doorway(5.5, 1.5, 10.0, 15.0);
    painter.setPen(QPen(QColor(64, 64, 64), 1.0));
    painter.setBrush(QColor(24, 24, 24));
    painter.drawRect(doorway);
    // The leaf, swung open towards the viewer on hinges at the left jamb.
    const QPolygonF leaf({QPointF(5.5, 1.5), QPointF(10.5, 3.5), QPointF(10.5, 17.5), QPointF(5.5, 16.5)});
    painter.setPen(QPen(QColor(96, 48, 0), 1.0));
    painter.setBrush(QColor(200, 130, 40));
    painter.drawPolygon(leaf);
    // The knob, on the leaf's free edge.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 220, 0));
    painter.drawEllipse(QPointF(9.0, 10.0), 1.0, 1.0);
    // The floor line, so the door stands somewhere.
    painter.setPen(QPen(QColor(64, 64, 64), 1.0));
    painter.drawLine(QPointF(1.0, 17.0), QPointF(17.0, 17.0));
}

} // namespace

QIcon check_mark_glyph() {
    return paint_icon(draw_check_mark);
}

QIcon open_door_glyph() {
    return paint_icon(draw_open_door);
}

} // namespace enlazor::app
