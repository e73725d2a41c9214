#include "shell/window/direction_frames.h"

#include "shell/window/shell_texts.h"
#include "base/error.h"

#include <exception>
#include <string>
#include <system_error>
#include <utility>

namespace enlazor::app {

namespace {

// Only a regular file counts: an empty name, a missing file or a folder do
// not, and neither does a device or a pipe, whose reading could hang the
// window.
bool names_existing_file(const std::filesystem::path& path) {
    std::error_code ignored;
    return !path.empty() && std::filesystem::is_regular_file(path, ignored);
}

// The hourglass for as long as the guard lives, so every way out of a
// conversion, an error included, puts the cursor back.
class WaitCursor {
public:
    explicit WaitCursor(FrameUi& ui) : ui_(ui) { ui_.begin_wait(); }
    ~WaitCursor() { ui_.end_wait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    FrameUi& ui_;
};

} // namespace

DirectionFrames::DirectionFrames(ShellState& state, FrameUi& ui, Conversions& conversions,
                                 std::function<void()> close_window)
    : state_(state), ui_(ui), conversions_(conversions), close_window_(std::move(close_window)) {}

void DirectionFrames::run(Direction direction) {
    if (auto confirmed = ui_.choose_saga_document())
        state_.chosen_path = std::move(*confirmed);
    // The window closed while the dialog was up (its host went away): the
    // program is ending and has reported already.
    if (state_.window_closed)
        return;

    if (!names_existing_file(state_.chosen_path)) {
        report_missing_document(direction);
        return;
    }
    if (convert(direction))
        report_finished();
}

void DirectionFrames::report_missing_document(Direction direction) {
    ui_.show_message(texts::no_such_file);
    if (!state_.hosted())
        return;
    // Horalis tells a missing document for an export apart from every other
    // unfinished run.
    state_.completion_flag = direction == Direction::Export ? -1 : 0;
    close_window_();
}

bool DirectionFrames::convert(Direction direction) {
    std::string error_text;
    try {
        WaitCursor hourglass(ui_);
        if (direction == Direction::Export)
            conversions_.run_export(state_.chosen_path);
        else
            conversions_.run_import(state_.chosen_path);
        return true;
    } catch (const MissingFile&) {
        // The file went away between the check and the load.
        report_missing_document(direction);
        return false;
    } catch (const std::exception& error) {
        // The core's errors, and anything else the platform throws (memory,
        // file system): shown like a core error, never let out of the click.
        error_text = error_box_text(error.what());
    }
    // The hourglass is gone by now; the window waits for the next action and
    // keeps whatever the conversion wrote before it stopped.
    ui_.show_error(error_text);
    return false;
}

void DirectionFrames::report_finished() {
    state_.completion_flag = 1;
    ui_.show_message(texts::process_finished);
    if (state_.hosted())
        close_window_();
}

} // namespace enlazor::app
