// The main window's fixed layout at 96 pixels per inch: where each panel
// lies in the client area and each control in its panel, the panels'
// gradients and the fonts' sizes. The Qt window and the Win32 window both
// draw from it, so they cannot drift apart.
#pragma once

namespace enlazor::app::layout {

// Left and top of a panel within the client area, or of a control within
// its panel; width and height.
struct Box {
    int left, top, width, height;
};

struct Colour {
    unsigned char red, green, blue;
};

// A vertical three-colour gradient: `top` along the top edge, blending into
// `middle` at half height and into `bottom` along the bottom edge.
struct Gradient {
    Colour top, middle, bottom;
};

inline constexpr int client_width = 632;
inline constexpr int client_height = 266;

// Panels in the client area; they reach one pixel past the right edge, and
// the left upper panel one above the top.
inline constexpr Box export_panel{0, -1, 315, 169};   // Draw3D2
inline constexpr Box import_panel{316, 0, 317, 169};  // Draw3D3
inline constexpr Box footer_panel{0, 168, 633, 97};   // Draw3D1

// Controls within their panels.
inline constexpr Box export_caption{24, 24, 265, 57};    // Label3
inline constexpr Box import_caption{8, 24, 305, 57};     // Label4
inline constexpr Box direction_button{96, 120, 89, 25};  // BExportar, BImportar
inline constexpr Box close_button{256, 32, 89, 25};      // BClose
inline constexpr Box help_button{265, 67, 75, 18};       // Button1
inline constexpr Box version_label{8, 72, 213, 13};      // Label1

// Pale peach at the top, white at half height, golden yellow at the bottom.
inline constexpr Gradient direction_gradient{{255, 238, 221}, {255, 255, 255}, {249, 211, 125}};
// Greyish blue, pale cyan, pale violet-blue.
inline constexpr Gradient footer_gradient{{204, 216, 230}, {207, 242, 254}, {194, 205, 254}};

// Character heights in pixels: the window's font (which the buttons and the
// version line use) and the two direction captions.
inline constexpr int window_font_pixels = 11;
inline constexpr int caption_font_pixels = 16;

// The version line is red.
inline constexpr Colour version_colour{255, 0, 0};

// A button glyph's size.
inline constexpr int glyph_pixels = 18;

} // namespace enlazor::app::layout
