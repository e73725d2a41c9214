// What a direction frame asks of the person at the window: a file, two
// kinds of message box, and the hourglass while the conversion runs. Each
// window answers with its own dialogs (the Qt window and the Win32 window);
// tests answer on the user's behalf. Texts are UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace enlazor::app {

class FrameUi {
public:
    virtual ~FrameUi() = default;

    // Opens the file dialog: the confirmed file's full name (existing or
    // not), or nothing when the user cancels.
    virtual std::optional<std::filesystem::path> choose_saga_document() = 0;

    // A message of the program's own, modal, with one "Aceptar" button.
    virtual void show_message(const std::string& text) = 0;

    // The error box; `text` already carries its final full stop.
    virtual void show_error(const std::string& text) = 0;

    // The hourglass over the whole application, from begin_wait() to
    // end_wait(). The frame pairs them on every way out of a conversion.
    virtual void begin_wait() = 0;
    virtual void end_wait() = 0;
};

} // namespace enlazor::app
