// The hourglass over the whole application for as long as the guard lives,
// so every way out of a direction, an error included, puts the cursor back.
#pragma once

#include <QApplication>
#include <QCursor>

namespace enlazor::app {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace enlazor::app
