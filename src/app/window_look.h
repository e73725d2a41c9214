// The window's fixed look in Qt's terms: the shared layout's boxes as
// rectangles, its gradients as colours, and the fonts.
#pragma once

#include "app/gradient_panel.h"
#include "shell/window/window_layout.h"

#include <QFont>
#include <QRect>

namespace enlazor::app::look {

inline constexpr QRect rect(const layout::Box& box) {
    return {box.left, box.top, box.width, box.height};
}

// Client area at 96 pixels per inch.
inline constexpr int client_width = layout::client_width;
inline constexpr int client_height = layout::client_height;

// Panels in the client area.
inline constexpr QRect export_panel = rect(layout::export_panel);  // Draw3D2
inline constexpr QRect import_panel = rect(layout::import_panel);  // Draw3D3
inline constexpr QRect footer_panel = rect(layout::footer_panel);  // Draw3D1

// Controls within their panels.
inline constexpr QRect export_caption = rect(layout::export_caption);      // Label3
inline constexpr QRect import_caption = rect(layout::import_caption);      // Label4
inline constexpr QRect direction_button = rect(layout::direction_button);  // BExportar, BImportar
inline constexpr QRect close_button = rect(layout::close_button);          // BClose
inline constexpr QRect help_button = rect(layout::help_button);            // Button1
inline constexpr QRect version_label = rect(layout::version_label);        // Label1

PanelGradient direction_gradient();
PanelGradient footer_gradient();

// The window's own font, which the buttons use: a sans of 11 pixels.
QFont window_font();
// The two direction captions: 16 pixels, bold, metric-compatible with Arial.
QFont caption_font();
// The version line: the window's font in bold.
QFont version_font();

} // namespace enlazor::app::look
