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

QColor colour(const layout::Colour& c) {
    return QColor(c.red, c.green, c.blue);
}

PanelGradient panel_gradient(const layout::Gradient& g) {
    return {colour(g.top), colour(g.middle), colour(g.bottom)};
}

} // namespace

PanelGradient direction_gradient() {
    return panel_gradient(layout::direction_gradient);
}

PanelGradient footer_gradient() {
    return panel_gradient(layout::footer_gradient);
}

QFont window_font() {
    return sans(layout::window_font_pixels, false);
}

QFont caption_font() {
    return sans(layout::caption_font_pixels, true);
}

QFont version_font() {
    return sans(layout::window_font_pixels, true);
}

} // namespace enlazor::app::look
