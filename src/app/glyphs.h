// The buttons' glyphs, drawn here so the program ships no image files.
#pragma once

#include "shell/window/window_layout.h"

#include <QIcon>

namespace enlazor::app {

// Pixel size of a button glyph.
inline constexpr int glyph_size = layout::glyph_pixels;

// A green check mark: the two "Aceptar" buttons.
QIcon check_mark_glyph();

// An open door: "&Salir".
QIcon open_door_glyph();

} // namespace enlazor::app
