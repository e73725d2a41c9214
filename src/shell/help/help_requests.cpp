#include "shell/help/help_requests.h"

#include "shell/window/shell_texts.h"

namespace enlazor::help {

void show_help_contents(HelpSystem& help) {
    help.set_application_help_file(app::texts::help_file_name);
    help.HelpCommand(HELP_CONTENTS, 0);
}

void show_help_context(HelpSystem& help) {
    help.ShowContextHelp(main_window_help_context, help.application_help_file());
}

} // namespace enlazor::help
