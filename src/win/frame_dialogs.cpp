#include "frame_dialogs.h"

#include "app/shell/shell_texts.h"
#include "message_boxes.h"
#include "storage/text.h"

#include <commdlg.h>

#include <string>
#include <utility>
#include <vector>

namespace enlazor::win {

namespace {

// The dialog speaks 8-bit text of the system code page. Paths cross to and
// from it through wide text, never as narrow text, which std::filesystem
// here would read as UTF-8.
std::string dialog_text(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    return to_8bit(WideText(native.begin(), native.end()));
}

std::filesystem::path dialog_path(const std::string& text) {
    const WideText wide = to_wide(text);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
}

// Room for the longest name the dialog may hand back.
constexpr std::size_t file_name_room = 32 * 1024;

} // namespace

OpenDialogXml::OpenDialogXml(const std::filesystem::path& initial_folder)
    : initial_folder_(dialog_text(initial_folder)) {}

std::optional<std::filesystem::path> OpenDialogXml::execute(HWND owner) {
    // "*.xml|*.xml": one entry, shown as "*.xml" and matching "*.xml".
    const std::string pattern = app::texts::dialog_filter;
    const std::string filter = pattern + '\0' + pattern + '\0';
    std::vector<char> file(file_name_room, '\0');
    file_name_.copy(file.data(), file.size() - 1);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initial_folder_.c_str();
    dialog.lpstrTitle = app::texts::dialog_title;
    dialog.lpstrDefExt = app::texts::dialog_default_suffix;
    // A typed name need not exist: the frame says "No existe archivo".
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&dialog))
        return std::nullopt;
    file_name_ = file.data();
    return dialog_path(file_name_);
}

FrameDialogs::FrameDialogs(std::function<HWND()> owner, const std::filesystem::path& saga_folder)
    : owner_(std::move(owner)), OpenDialogXML(saga_folder) {}

std::optional<std::filesystem::path> FrameDialogs::choose_saga_document() {
    return OpenDialogXML.execute(owner_());
}

void FrameDialogs::show_message(const std::string& text) {
    show_program_message(owner_(), text);
}

void FrameDialogs::show_error(const std::string& text) {
    show_error_box(owner_(), text);
}

// The direction runs without handling window messages, so the cursor set
// here stays until the frame puts the previous one back.
void FrameDialogs::begin_wait() {
    before_wait_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void FrameDialogs::end_wait() {
    SetCursor(before_wait_ ? before_wait_ : LoadCursor(nullptr, IDC_ARROW));
    before_wait_ = nullptr;
}

} // namespace enlazor::win
