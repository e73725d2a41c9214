// The window's own answers to a frame: OpenDialogXML for the file, and the
// program's message boxes.
#pragma once

#include "app/frame_ui.h"

class QFileDialog;
class QWidget;

namespace enlazor::app {

class DialogFrameUi final : public FrameUi {
public:
    DialogFrameUi(QWidget& window, QFileDialog& open_dialog);

    std::optional<std::filesystem::path> choose_saga_document() override;
    void show_message(const QString& text) override;
    void show_error(const QString& text) override;

private:
    QWidget& window_;
    QFileDialog& open_dialog_;
    QString last_confirmed_;  // offered again when the dialog next opens
};

} // namespace enlazor::app
