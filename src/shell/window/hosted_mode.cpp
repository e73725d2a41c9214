#include "shell/window/hosted_mode.h"

#include "shell/hosted/hosted_arguments.h"
#include "shell/window/shell_texts.h"
#include "shell/system/profile.h"
#include "base/error.h"

#include <exception>

namespace enlazor::app {

std::optional<std::uint32_t> host_from_command_line(ShellState& state, FrameUi& ui) {
    state.completion_flag = 0;
    if (!is_hosted(state.arguments))
        return std::nullopt;
    try {
        return host_window_id(state.arguments[1]);
    } catch (const Error& error) {
        ui.show_error(error_box_text(error.what()));
        return std::nullopt;
    }
}

void run_hosted_direction(const ShellState& state, DirectionFrames& frames) {
    if (!is_hosted(state.arguments))
        return;
    if (const std::optional<Direction> direction = direction_of(state.arguments[0]))
        frames.run(*direction);
}

void report_completion(const ShellState& state, FrameUi& ui) {
    if (!state.hosted())
        return;
    try {
        platform::write_profile_int(state.completion_ini, texts::completion_section, texts::completion_key,
                                    state.completion_flag);
    } catch (const std::exception& error) {
        ui.show_error(error_box_text(error.what()));
    }
}

} // namespace enlazor::app
