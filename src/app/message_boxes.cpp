#include "app/message_boxes.h"

#include "app/screen_centre.h"
#include "shell/window/shell_texts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

namespace enlazor::app {

namespace {

// A message box settles its size only while it is being shown, so it is
// centred on the screen at that moment, before it becomes visible.
class ScreenCentredBox final : public QMessageBox {
public:
    ScreenCentredBox(QWidget* owner, QMessageBox::Icon icon, const QString& text)
        : QMessageBox(owner) {
        setWindowTitle(QString::fromUtf8(texts::application_title));
        setIcon(icon);
        // Error messages quote document contents: never read them as markup.
        setTextFormat(Qt::PlainText);
        setText(text);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        centre_on_screen(*this);
    }
};

} // namespace

void show_program_message(QWidget* owner, const QString& text) {
    ScreenCentredBox box(owner, QMessageBox::NoIcon, text);
    QPushButton* accept = box.addButton(QString::fromUtf8(texts::accept_button), QMessageBox::AcceptRole);
    box.setDefaultButton(accept);
    box.exec();
}

void show_error_box(QWidget* owner, const QString& text) {
    ScreenCentredBox box(owner, QMessageBox::Critical, text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace enlazor::app
