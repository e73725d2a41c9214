#include "app/dialog_frame_ui.h"

#include "app/message_boxes.h"
#include "app/qt_paths.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>

namespace enlazor::app {

DialogFrameUi::DialogFrameUi(QWidget& window, QFileDialog& open_dialog)
    : window_(window), open_dialog_(open_dialog) {}

std::optional<std::filesystem::path> DialogFrameUi::choose_saga_document() {
    if (!last_confirmed_.isEmpty())
        open_dialog_.selectFile(last_confirmed_);
    if (open_dialog_.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = open_dialog_.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    last_confirmed_ = chosen.first();
    return to_path(last_confirmed_);
}

void DialogFrameUi::show_message(const std::string& text) {
    show_program_message(&window_, QString::fromStdString(text));
}

void DialogFrameUi::show_error(const std::string& text) {
    show_error_box(&window_, QString::fromStdString(text));
}

void DialogFrameUi::begin_wait() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void DialogFrameUi::end_wait() {
    QApplication::restoreOverrideCursor();
}

} // namespace enlazor::app
