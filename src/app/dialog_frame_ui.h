// The window's own answers to a frame: OpenDialogXML for the file, the
// program's message boxes, and Qt's override cursor as the hourglass.
#pragma once

#include "shell/window/frame_ui.h"

#include <QString>

class QFileDialog;
class QWidget;

namespace enlazor::app {

class DialogFrameUi final : public FrameUi {
public:
    DialogFrameUi(QWidget& window, QFileDialog& open_dialog);

    std::optional<std::filesystem::path> choose_saga_document() override;
    void show_message(const std::string& text) override;
    void show_error(const std::string& text) override;
    void begin_wait() override;
    void end_wait() override;

private:
    QWidget& window_;
    QFileDialog& open_dialog_;
    QString last_confirmed_;  // offered again when the dialog next opens
};

} // namespace enlazor::app
