// The screen's pixels per inch. The layout is given at 96; the program
// declares itself DPI-aware, so Windows does not stretch its window, and
// every size is scaled here instead.
#pragma once

#include "shell/window/window_layout.h"

#include <windows.h>

namespace enlazor::win {

class Dpi {
public:
    // The screen's, as it is when the window is made.
    static Dpi of_screen() {
        HDC screen = GetDC(nullptr);
        const int dots = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen)
            ReleaseDC(nullptr, screen);
        return Dpi(dots > 0 ? dots : 96);
    }

    explicit Dpi(int dots_per_inch) : dots_(dots_per_inch) {}

    int scale(int pixels_at_96) const { return MulDiv(pixels_at_96, dots_, 96); }

    RECT scale(const app::layout::Box& box) const {
        const int left = scale(box.left), top = scale(box.top);
        return {left, top, left + scale(box.width), top + scale(box.height)};
    }

private:
    int dots_;
};

} // namespace enlazor::win
