#include "shell/help/own_help.h"

#include "platform/executable_folder.h"

#include <string_view>
#include <system_error>

namespace enlazor::help {

namespace {

bool is_file(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::filesystem::path find_own_help(const std::filesystem::path& executable_dir) {
    const std::filesystem::path candidates[] = {
        executable_dir / own_help_file_name,
        executable_dir.parent_path() / "share" / "enlazor" / "ayuda" / own_help_file_name,
        std::filesystem::path("/usr/share/enlazor/ayuda") / own_help_file_name,
    };
    for (const std::filesystem::path& candidate : candidates)
        if (is_file(candidate))
            return candidate.lexically_normal();
    return {};
}

HtmlHelpEntryPoint prefer_own_help_when_missing(HtmlHelpEntryPoint html_help, const std::filesystem::path& saga_chm,
                                                const std::filesystem::path& own_help) {
    if (!html_help || own_help.empty())
        return html_help;
    // The bridge names the file in the system's spelling of the path, as
    // path::string() gives it.
    return [html_help, saga_chm, saga = saga_chm.string(), own = own_help.string()](
               std::uintptr_t owner, const std::string& file, unsigned command, const HtmlHelpData& data) {
        const std::string_view text(file);
        const bool names_saga_chm =
            text.substr(0, saga.size()) == saga && (text.size() == saga.size() || text.substr(saga.size(), 2) == "::");
        if (names_saga_chm && !is_file(saga_chm)) {
            html_help(owner, own + file.substr(saga.size()), command, data);
            return;
        }
        html_help(owner, file, command, data);
    };
}

HtmlHelpEntryPoint with_own_help(HtmlHelpEntryPoint html_help, const std::filesystem::path& executable_dir,
                                 const char* help_file_name) {
    return prefer_own_help_when_missing(std::move(html_help), executable_dir / help_file_name,
                                        find_own_help(executable_dir));
}

void show_checking_help() {
    // Never unloaded: HTML Help's windows may outlive the check window, and
    // the library must not go from under them while the process ends.
    static const HtmlHelpEntryPoint* const html_help = new HtmlHelpEntryPoint(load_html_help());
    static const std::filesystem::path own_help = find_own_help(executable_folder());
    if (*html_help && !own_help.empty())
        (*html_help)(0, own_help.string(), HH_HELP_CONTEXT, static_cast<std::uintptr_t>(checking_help_context));
}

} // namespace enlazor::help
