// Places a top-level window in the middle of its screen.
#pragma once

class QWidget;

namespace enlazor::app {

// Centres the window's outer frame (its client area while the frame is not
// yet known) on the whole screen it is on.
void centre_on_screen(QWidget& window);

} // namespace enlazor::app
