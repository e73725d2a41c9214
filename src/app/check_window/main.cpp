// enlazor-comprobar: the check of enlazor-cli in a window of its own, for
// those who never open a terminal. A file manager's "Open with" passes the
// document, which is checked as soon as the window is up.

#include "app/check_window/check_window.h"
#include "app/check_window/program_icon.h"
#include "app/qt_translations.h"
#include "shell/window/shell_texts.h"
#include "platform/console.h"
#include "platform/places.h"
#include "storage/settings.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTimer>

int main(int argc, char* argv[]) {
    using namespace enlazor;
    QApplication application(argc, argv);
    app::install_qt_translations(application);
    // As the main window: message boxes are captioned with the title, and
    // the desktop matches the window to its menu entry and icon.
    QApplication::setApplicationName(QString::fromUtf8(app::texts::application_title));
    QGuiApplication::setDesktopFileName(QStringLiteral("enlazor-comprobar"));
    QApplication::setWindowIcon(app::program_icon());
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    // The arguments Qt left, byte for byte: a file name that is not valid
    // UTF-8 still names the same file.
    const app::checking::CheckArguments arguments =
        app::checking::parse_check_arguments(platform::utf8_arguments(argc, argv));

    app::CheckWindow window(settings_from_environment(), default_saga_dir());
    window.show();
    // Checked once the window is on the screen, so the wait cursor shows.
    QTimer::singleShot(0, &window, [&window, &arguments] { window.start(arguments); });
    return QApplication::exec();
}
