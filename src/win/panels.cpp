#include "panels.h"

#include "window_class.h"

#include <commctrl.h>

namespace enlazor::win {

namespace {

constexpr wchar_t panel_class[] = L"EnlazorGradientPanel";

COLOR16 channel(unsigned char value) {
    return static_cast<COLOR16>(value << 8);
}

TRIVERTEX vertex(LONG x, LONG y, const app::layout::Colour& colour) {
    return {x, y, channel(colour.red), channel(colour.green), channel(colour.blue), 0};
}

} // namespace

GradientPanel::GradientPanel(HWND window, const app::layout::Box& box, const app::layout::Gradient& gradient,
                             Dpi dpi)
    : gradient_(gradient), dpi_(dpi) {
    register_window_class(panel_class, window_procedure);
    const RECT area = dpi_.scale(box);
    // Clipped by its siblings: where two panels meet, the one made first
    // lies on top.
    handle_ = CreateWindowExW(WS_EX_CONTROLPARENT, panel_class, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                              area.left, area.top, area.right - area.left, area.bottom - area.top, window,
                              nullptr, GetModuleHandleW(nullptr), this);
}

GradientPanel::~GradientPanel() {
    if (handle_ && IsWindow(handle_))
        DestroyWindow(handle_);
}

void GradientPanel::add_label(PanelLabel label) {
    labels_.push_back(std::move(label));
    InvalidateRect(handle_, nullptr, TRUE);
}

HWND GradientPanel::add_button(int id, const app::layout::Box& box, const std::wstring& caption, HFONT font,
                               HICON glyph) {
    const RECT area = dpi_.scale(box);
    HWND button = CreateWindowExW(0, WC_BUTTONW, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                  area.left, area.top, area.right - area.left, area.bottom - area.top, handle_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                  nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // With common controls 6 the glyph stands beside the caption, the two
    // centred together.
    if (glyph)
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph));
    return button;
}

LRESULT CALLBACK GradientPanel::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return dispatch_to_owner(window, message, wparam, lparam, &GradientPanel::handle_,
                             &GradientPanel::handle_message);
}

LRESULT GradientPanel::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT paint_info;
        HDC dc = BeginPaint(handle_, &paint_info);
        paint(dc);
        EndPaint(handle_, &paint_info);
        return 0;
    }
    case WM_PRINTCLIENT:
        // A themed button draws its parent's background behind its rounded
        // corners through this message.
        paint(reinterpret_cast<HDC>(wparam));
        return 0;
    case WM_COMMAND:
        // The buttons' clicks are the main window's business.
        return SendMessageW(GetParent(handle_), message, wparam, lparam);
    default:
        return DefWindowProcW(handle_, message, wparam, lparam);
    }
}

void GradientPanel::paint(HDC dc) const {
    RECT area;
    GetClientRect(handle_, &area);
    const LONG middle = area.top + (area.bottom - area.top) / 2;
    TRIVERTEX corners[] = {
        vertex(area.left, area.top, gradient_.top),    vertex(area.right, middle, gradient_.middle),
        vertex(area.left, middle, gradient_.middle),   vertex(area.right, area.bottom, gradient_.bottom),
    };
    GRADIENT_RECT halves[] = {{0, 1}, {2, 3}};
    GradientFill(dc, corners, 4, halves, 2, GRADIENT_FILL_RECT_V);

    const int mode = SetBkMode(dc, TRANSPARENT);
    for (const PanelLabel& label : labels_) {
        RECT box = dpi_.scale(label.box);
        HGDIOBJ font = SelectObject(dc, label.font);
        SetTextColor(dc, label.colour);
        DrawTextW(dc, label.text.c_str(), static_cast<int>(label.text.size()), &box, DT_LEFT | DT_TOP | DT_WORDBREAK);
        SelectObject(dc, font);
    }
    SetBkMode(dc, mode);
}

} // namespace enlazor::win
