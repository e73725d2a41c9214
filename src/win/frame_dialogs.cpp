#include "frame_dialogs.h"

#include "shell/window/shell_texts.h"
#include "message_boxes.h"
#include "wide_text.h"

#include <commdlg.h>

#include <string>
#include <utility>
#include <vector>

namespace enlazor::win {

namespace {

// Room for the longest name the dialog may hand back.
constexpr std::size_t file_name_room = 32 * 1024;

} // namespace

// The wide dialog: a name with a character outside the system code page
// comes back as it is, not as a best-fit look-alike that may name another
// file.
OpenDialogXml::OpenDialogXml(const std::filesystem::path& initial_folder)
    : initial_folder_(initial_folder.native()) {}

std::optional<std::filesystem::path> OpenDialogXml::execute(HWND owner) {
    // "*.xml|*.xml": one entry, shown as "*.xml" and matching "*.xml".
    const std::wstring pattern = wide(app::texts::dialog_filter);
    const std::wstring filter = pattern + L'\0' + pattern + L'\0';
    const std::wstring title = wide(app::texts::dialog_title);
    const std::wstring suffix = wide(app::texts::dialog_default_suffix);
    std::vector<wchar_t> file(file_name_room, L'\0');
    file_name_.copy(file.data(), file.size() - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initial_folder_.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = suffix.c_str();
    // A typed name need not exist: the frame says "No existe archivo".
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    file_name_ = file.data();
    return std::filesystem::path(file_name_);
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
