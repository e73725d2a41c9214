#include "app/check_window/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace enlazor::app {

namespace {

// The SVG's own coordinates: a square of 128 units.
constexpr qreal canvas = 128.0;

const QColor teal(0x26, 0x7a, 0x8a);
const QColor ink(0x1d, 0x5f, 0x73);
const QColor fold(0xcf, 0xe6, 0xea);
const QColor amber(0xf2, 0xa5, 0x41);

void draw(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(teal);
    painter.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);

    // The document, with a folded corner and lines of text.
    QPainterPath page;
    page.moveTo(18, 28);
    page.lineTo(44, 28);
    page.lineTo(54, 38);
    page.lineTo(54, 90);
    page.lineTo(18, 90);
    page.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(page);
    QPainterPath corner;
    corner.moveTo(44, 28);
    corner.lineTo(44, 38);
    corner.lineTo(54, 38);
    corner.closeSubpath();
    painter.setBrush(fold);
    painter.drawPath(corner);
    painter.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF& line : {QLineF(24, 48, 48, 48), QLineF(24, 57, 48, 57), QLineF(24, 66, 42, 66),
                               QLineF(24, 75, 46, 75)})
        painter.drawLine(line);

    // The timetable: a grid with two placed lessons.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(74, 36, 38, 46), 3, 3);
    painter.setPen(QPen(ink, 2));
    for (const qreal y : {47.5, 59.0, 70.5})
        painter.drawLine(QLineF(74, y, 112, y));
    for (const qreal x : {86.7, 99.3})
        painter.drawLine(QLineF(x, 36, x, 82));
    painter.setPen(Qt::NoPen);
    painter.setBrush(amber);
    painter.drawRect(QRectF(87.7, 48.5, 10.6, 9.5));
    painter.drawRect(QRectF(75, 60, 10.7, 9.5));

    // The links: an arc each way, with its arrowhead.
    QPainterPath links;
    links.moveTo(38, 98);
    links.quadTo(64, 114, 90, 98);
    links.lineTo(90, 104);
    links.quadTo(64, 120, 38, 104);
    links.closeSubpath();
    links.moveTo(90, 24);
    links.quadTo(64, 8, 38, 24);
    links.lineTo(38, 18);
    links.quadTo(64, 2, 90, 18);
    links.closeSubpath();
    links.addPolygon(QPolygonF({QPointF(98, 92), QPointF(96, 110), QPointF(82, 102)}));
    links.closeSubpath();
    links.addPolygon(QPolygonF({QPointF(30, 30), QPointF(32, 12), QPointF(46, 20)}));
    links.closeSubpath();
    painter.drawPath(links);
}

} // namespace

QIcon program_icon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / canvas, size / canvas);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace enlazor::app
