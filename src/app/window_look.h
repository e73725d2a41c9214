// The window's fixed look: sizes, fonts and colours of its parts.
#pragma once

#include "app/gradient_panel.h"

#include <QFont>
#include <QRect>

namespace enlazor::app::look {

// Client area at 96 pixels per inch.
inline constexpr int client_width = 632;
inline constexpr int client_height = 266;

// Panels in the client area; they reach one pixel past the right edge, and
// the left upper panel one above the top.
inline constexpr QRect export_panel{0, -1, 315, 169};    // Draw3D2
inline constexpr QRect import_panel{316, 0, 317, 169};   // Draw3D3
inline constexpr QRect footer_panel{0, 168, 633, 97};    // Draw3D1

// Controls within their panels.
inline constexpr QRect export_caption{24, 24, 265, 57};  // Label3
inline constexpr QRect import_caption{8, 24, 305, 57};   // Label4
inline constexpr QRect direction_button{96, 120, 89, 25};  // BExportar, BImportar
inline constexpr QRect close_button{256, 32, 89, 25};     // BClose
inline constexpr QRect help_button{265, 67, 75, 18};      // Button1
inline constexpr QRect version_label{8, 72, 213, 13};     // Label1

// Pale peach at the top, white at half height, golden yellow at the bottom.
PanelGradient direction_gradient();
// Greyish blue, pale cyan, pale violet-blue.
PanelGradient footer_gradient();

// The window's own font, which the buttons use: a sans of 11 pixels.
QFont window_font();
// The two direction captions: 16 pixels, bold, metric-compatible with Arial.
QFont caption_font();
// The version line: the window's font in bold.
QFont version_font();

} // namespace enlazor::app::look
