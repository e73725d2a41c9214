// The window's gradient panels (Draw3D1, Draw3D2, Draw3D3): each paints its
// vertical three-colour gradient and the labels that lie on it, and passes
// its buttons' clicks on to the main window.
#pragma once

#include "shell/window/window_layout.h"
#include "dpi.h"

#include <windows.h>

#include <string>
#include <vector>

namespace enlazor::win {

// A label drawn over the gradient without a background of its own, words
// wrapped inside its fixed box.
struct PanelLabel {
    std::wstring text;
    app::layout::Box box;
    HFONT font;
    COLORREF colour;
};

class GradientPanel {
public:
    // Creates the panel at `box` in the client area of `window`.
    GradientPanel(HWND window, const app::layout::Box& box, const app::layout::Gradient& gradient, Dpi dpi);
    ~GradientPanel();
    GradientPanel(const GradientPanel&) = delete;
    GradientPanel& operator=(const GradientPanel&) = delete;

    // The panel's own window, for a window whose layout follows its size.
    HWND handle() const { return handle_; }

    void add_label(PanelLabel label);

    // A push button at `box` within the panel, with the window's font, and
    // `glyph` (when given) beside its caption. Clicks reach the main window
    // as WM_COMMAND with `id`.
    HWND add_button(int id, const app::layout::Box& box, const std::wstring& caption, HFONT font,
                    HICON glyph = nullptr);

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void paint(HDC dc) const;

    HWND handle_ = nullptr;
    app::layout::Gradient gradient_;
    Dpi dpi_;
    std::vector<PanelLabel> labels_;
};

} // namespace enlazor::win
