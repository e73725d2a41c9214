// What the "Comprobar datos" window asks of Windows' shell beyond its own
// controls: the common dialogs that choose the document, the exchange
// directory and the report's file, and the clipboard "Copiar" fills. Each
// is modal over `owner` and says nothing when the user cancels.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace enlazor::win {

// The SAGA document to check, from the open dialog. It opens in the folder
// of `current` when that folder is there, else in SAGA's usual one.
std::optional<std::filesystem::path> choose_document(HWND owner, const std::filesystem::path& current);

// The exchange directory, from the folder picker of Vista and later, which
// also takes a typed path. It opens at `current` when that is a folder.
std::optional<std::filesystem::path> choose_exchange_dir(HWND owner, const std::filesystem::path& current);

// Where to save the report of `document`: the save dialog, beside the
// document and named after it, adding the extension of the type chosen
// (text or JSON) to a name typed without one, and asking before replacing.
std::optional<std::filesystem::path> choose_report_file(HWND owner, const std::filesystem::path& document);

// Puts `text` (UTF-8) on the clipboard as Unicode text.
void copy_to_clipboard(HWND owner, const std::string& text);

} // namespace enlazor::win
