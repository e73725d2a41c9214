// What a direction frame asks of the person at the window: a file and two
// kinds of message box. The window answers with OpenDialogXML and real
// message boxes (DialogFrameUi); tests answer on the user's behalf.
#pragma once

#include <QString>

#include <filesystem>
#include <optional>

namespace enlazor::app {

class FrameUi {
public:
    virtual ~FrameUi() = default;

    // Opens the file dialog: the confirmed file's full name (existing or
    // not), or nothing when the user cancels.
    virtual std::optional<std::filesystem::path> choose_saga_document() = 0;

    // A message of the program's own, modal, with one "Aceptar" button.
    virtual void show_message(const QString& text) = 0;

    // The error box; `text` already carries its final full stop.
    virtual void show_error(const QString& text) = 0;
};

} // namespace enlazor::app
