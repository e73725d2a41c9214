// The fonts and button glyphs of the program's windows, made for the
// screen's pixels per inch and freed with the window: the main window and
// "Comprobar datos" draw with the same ones, so they look of one family.
#pragma once

#include "dpi.h"

#include <windows.h>

namespace enlazor::win {

struct WindowLook {
    explicit WindowLook(const Dpi& dpi);
    ~WindowLook();
    WindowLook(const WindowLook&) = delete;
    WindowLook& operator=(const WindowLook&) = delete;

    HFONT window_font = nullptr;   // the buttons' and labels' font
    HFONT bold_font = nullptr;     // the same, bold: the version line, a summary
    HFONT caption_font = nullptr;  // the direction captions and headings
    HICON check_mark = nullptr;    // beside "Aceptar" and "Comprobar"
    HICON open_door = nullptr;     // beside "&Salir" and "Cerrar"
};

} // namespace enlazor::win
