// The frame around either direction: choose the SAGA document, check it is
// there, run the conversion under the wait cursor, and report the outcome.
// Everything runs inside the caller (a click, or hosted start-up): the
// window does not react until the final message box.
#pragma once

#include "base/direction.h"
#include "shell/window/conversions.h"
#include "shell/window/frame_ui.h"
#include "shell/window/shell_state.h"

#include <functional>

namespace enlazor::app {

class DirectionFrames {
public:
    // `close_window` ends a hosted run; normal mode never calls it.
    DirectionFrames(ShellState& state, FrameUi& ui, Conversions& conversions,
                    std::function<void()> close_window);

    void run(Direction direction);

private:
    void report_missing_document(Direction direction);
    // False when the conversion stopped; the user has then seen why.
    bool convert(Direction direction);
    void report_finished();

    ShellState& state_;
    FrameUi& ui_;
    Conversions& conversions_;
    std::function<void()> close_window_;
};

} // namespace enlazor::app
