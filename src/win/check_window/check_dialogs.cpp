#include "check_dialogs.h"

#include "platform/places.h"
#include "shell/checking/check_texts.h"
#include "wide_text.h"

#include <commdlg.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace enlazor::win {

namespace texts = app::checking::texts;

namespace {

// Room for the longest path the dialogs hand back.
constexpr std::size_t path_room = 32768;

// A dialog's filters as the common dialogs take them: "name (pattern)",
// the pattern, and so on, each ended by a null, the whole by a second one.
std::wstring dialog_filters(const auto& filters) {
    std::wstring list;
    for (const texts::FileFilter& filter : filters)
        list += wide(texts::filter_text(filter)) + L'\0' + wide(filter.pattern) + L'\0';
    return list;
}

// The common open or save dialog: `filters` offered, the first one's
// extension added to a name typed without one, `name` proposed in `folder`.
std::optional<std::filesystem::path> file_dialog(HWND owner, const auto& filters, const char* title,
                                                 const std::filesystem::path& folder, const std::wstring& name,
                                                 DWORD flags, bool save) {
    std::vector<wchar_t> file(path_room, L'\0');
    std::copy(name.begin(), name.end(), file.begin());
    const std::wstring filter_list = dialog_filters(filters);
    const std::wstring caption = wide(title);
    const std::wstring extension = wide(filters[0].extension);
    const std::wstring initial = folder.wstring();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter_list.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | flags;
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)))
        return std::nullopt;
    return std::filesystem::path(file.data());
}

} // namespace

std::optional<std::filesystem::path> choose_document(HWND owner, const std::filesystem::path& current) {
    std::error_code ignored;
    const std::filesystem::path folder =
        !current.empty() && std::filesystem::is_directory(current.parent_path(), ignored) ? current.parent_path()
                                                                                          : default_saga_dir();
    return file_dialog(owner, texts::document_filters, texts::document_dialog_title, folder, L"", OFN_FILEMUSTEXIST,
                       false);
}

std::optional<std::filesystem::path> choose_exchange_dir(HWND owner, const std::filesystem::path& current) {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(&dialog))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR);
    dialog->SetTitle(wide(texts::exchange_dialog_title).c_str());
    IShellItem* start = nullptr;
    if (!current.empty() && SUCCEEDED(SHCreateItemFromParsingName(current.c_str(), nullptr, IID_IShellItem,
                                                                  reinterpret_cast<void**>(&start)))) {
        dialog->SetFolder(start);
        start->Release();
    }
    std::optional<std::filesystem::path> chosen_path;
    IShellItem* chosen = nullptr;
    if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&chosen))) {
        wchar_t* path = nullptr;
        if (SUCCEEDED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            chosen_path = std::filesystem::path(path);
            CoTaskMemFree(path);
        }
        chosen->Release();
    }
    dialog->Release();
    return chosen_path;
}

std::optional<std::filesystem::path> choose_report_file(HWND owner, const std::filesystem::path& document) {
    // The document's name without its extension: the dialog adds that of
    // the type chosen, .txt or .json.
    return file_dialog(owner, texts::report_filters, texts::save_dialog_title, document.parent_path(),
                       document.stem().wstring() + wide(texts::report_name_suffix), OFN_OVERWRITEPROMPT, true);
}

void copy_to_clipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner))
        return;
    const std::wstring chars = wide(text);
    const std::size_t bytes = (chars.size() + 1) * sizeof(wchar_t);
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, chars.c_str(), bytes);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it takes it.
            if (!SetClipboardData(CF_UNICODETEXT, memory))
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

} // namespace enlazor::win
