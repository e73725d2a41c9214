// Start-up: the application object, its title and help file, the main
// window, and the message loop until the main window closes.

#include "app/MainForm.h"
#include "app/core_conversions.h"
#include "app/message_boxes.h"
#include "app/shell_texts.h"
#include "storage/settings.h"

#include <QApplication>
#include <QStyleFactory>

#include <exception>
#include <memory>

int main(int argc, char* argv[]) {
    using namespace enlazor::app;

    QApplication application(argc, argv);
    // The title, not a display name: Qt would append a display name to
    // every window caption.
    QApplication::setApplicationName(QString::fromUtf8(texts::application_title));
    // The window's layout is fixed to the pixel; a desktop theme with wider
    // button margins must not push its parts out of place.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    ShellState state;
    state.help_file_name = texts::help_file_name;

    try {
        TMForm window(state, std::make_unique<CoreConversions>(enlazor::settings_from_environment()),
                      enlazor::default_saga_dir());
        // The system window exists before it is shown, as hosted mode needs.
        window.winId();
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        show_error_box(nullptr, QString::fromStdString(error.what()));
        return 1;
    }
}
