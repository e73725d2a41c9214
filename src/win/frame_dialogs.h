// The window's own answers to a direction frame: OpenDialogXML for the SAGA
// document, the program's message boxes, and the hourglass.
#pragma once

#include "shell/window/frame_ui.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

namespace enlazor::win {

// The open-file dialog of both frames: title "Archivo XML", one file type
// "*.xml", default extension "xml", first opened in the SAGA folder. It
// keeps the last confirmed name and offers it again the next time.
class OpenDialogXml {
public:
    explicit OpenDialogXml(const std::filesystem::path& initial_folder);

    // The confirmed file's full name, existing or not; nothing when the
    // user cancels (or the dialog cannot open).
    std::optional<std::filesystem::path> execute(HWND owner);

private:
    std::wstring initial_folder_;
    std::wstring file_name_;  // the last confirmed one
};

class FrameDialogs final : public app::FrameUi {
public:
    // `owner` gives the window that owns the dialog and the boxes at the
    // moment they open (the host's top-level window in hosted mode).
    FrameDialogs(std::function<HWND()> owner, const std::filesystem::path& saga_folder);

    std::optional<std::filesystem::path> choose_saga_document() override;
    void show_message(const std::string& text) override;
    void show_error(const std::string& text) override;
    void begin_wait() override;
    void end_wait() override;

private:
    std::function<HWND()> owner_;
    OpenDialogXml OpenDialogXML;
    HCURSOR before_wait_ = nullptr;
};

} // namespace enlazor::win
