#include "window_look.h"

#include "shell/window/window_layout.h"
#include "resources.h"

#include <initializer_list>

namespace enlazor::win {

namespace layout = app::layout;

WindowLook::WindowLook(const Dpi& dpi) {
    const auto font = [&dpi](const wchar_t* face, int pixels, bool bold) {
        // A negative height asks for the character height, as the layout
        // gives it.
        return CreateFontW(-dpi.scale(pixels), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, face);
    };
    window_font = font(L"MS Sans Serif", layout::window_font_pixels, false);
    bold_font = font(L"MS Sans Serif", layout::window_font_pixels, true);
    caption_font = font(L"Arial", layout::caption_font_pixels, true);

    const auto glyph = [&dpi](int id) {
        const int size = dpi.scale(layout::glyph_pixels);
        return static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    };
    check_mark = glyph(IDI_CHECK_MARK);
    open_door = glyph(IDI_OPEN_DOOR);
}

WindowLook::~WindowLook() {
    for (HFONT font : {window_font, bold_font, caption_font})
        if (font)
            DeleteObject(font);
    for (HICON glyph : {check_mark, open_door})
        if (glyph)
            DestroyIcon(glyph);
}

} // namespace enlazor::win
