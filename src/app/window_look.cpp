#include "app/window_look.h"

namespace enlazor::app::look {

namespace {

// Liberation Sans keeps Arial's metrics, so texts wrap and fit where the
// layout expects them; the hint picks another sans where it is missing.
QFont sans(int pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

PanelGradient direction_gradient() {
    return {QColor(255, 238, 221), QColor(255, 255, 255), QColor(249, 211, 125)};
}

PanelGradient footer_gradient() {
    return {QColor(204, 216, 230), QColor(207, 242, 254), QColor(194, 205, 254)};
}

QFont window_font() {
    return sans(11, false);
}

QFont caption_font() {
    return sans(16, true);
}

QFont version_font() {
    return sans(11, true);
}

} // namespace enlazor::app::look
