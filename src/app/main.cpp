// Start-up: the help bridge, the application object with its title and help
// file, the main window (which settles normal or hosted mode), and the
// message loop until the main window closes.

#include "app/MainForm.h"
#include "shell/help/own_help.h"
#include "shell/window/core_conversions.h"
#include "shell/window/shell_texts.h"
#include "shell/help/sto_html_help.h"
#include "shell/hosted/hosted_arguments.h"
#include "shell/system/profile_ini.h"
#include "app/message_boxes.h"
#include "app/qt_translations.h"
#include "app/x11_host_windows.h"
#include "platform/executable_folder.h"
#include "shell/system/html_help.h"
#include "base/error.h"
#include "storage/settings.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>

namespace {

using namespace enlazor::app;

int run_window(ShellState& state, enlazor::help::HelpSystem& help) {
    X11HostWindows host_windows;
    TMForm window(state, std::make_unique<CoreConversions>(enlazor::settings_from_environment()),
                  enlazor::default_saga_dir(), {.host_windows = &host_windows, .help = &help});
    // The system window exists before it is shown, as hosted mode needs.
    window.winId();
    window.show();
    // A hosted direction that ran to its end while the window was being
    // shown has closed it already.
    if (state.window_closed)
        return 0;
    // Closing ends the program even when the window lives in another
    // program's window, which Qt does not count as ours.
    QObject::connect(&window, &TMForm::closed, &window, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}

// A hosted start that names a window to live in; handle 0, or one that is
// no number, gives a window of its own, on whatever platform Qt chooses.
bool names_host_window(const std::vector<std::string>& arguments) {
    if (!enlazor::is_hosted(arguments))
        return false;
    try {
        return enlazor::host_window_id(arguments[1]) != 0;
    } catch (const enlazor::Error&) {
        return false;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // Help is ready before any window, whether it is ever asked for or not.
    // Without a SAGA.chm beside the program, its requests go to our own help.
    auto help = enlazor::help::make_help_bridge(
        enlazor::help::with_own_help(enlazor::help::load_html_help(), enlazor::executable_folder(),
                                     texts::help_file_name),
        texts::help_file_name, enlazor::executable_folder());

    ShellState state;
    // Every argument counts, as Horalis passed it, before Qt takes out the
    // ones it reads itself (-display, -platform, ...).
    state.arguments = enlazor::hosted_arguments(argc, argv);
    state.completion_ini = enlazor::completion_ini_path();

    if (names_host_window(state.arguments)) {
        // Horalis names its window by an X11 id: only Qt's X11 platform can
        // live in it, on a Wayland desktop too (through XWayland).
        qputenv("QT_QPA_PLATFORM", "xcb");
        if (!x11_display_reachable()) {
            const char* display = std::getenv("DISPLAY");
            std::cerr << "enlazor: no se puede conectar con la pantalla X11 «"
                      << (display != nullptr ? display : "") << "»; Horalis solo puede alojar a Enlazor"
                      << " en una sesión gráfica X11 o XWayland.\n";
            return 1;
        }
    }

    QApplication application(argc, argv);
    install_qt_translations(application);
    // The title, not a display name: Qt would append a display name to
    // every window caption.
    QApplication::setApplicationName(QString::fromUtf8(texts::application_title));
    // The window's layout is fixed to the pixel; a desktop theme with wider
    // button margins must not push its parts out of place.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    int exit_code = 1;
    try {
        exit_code = run_window(state, help->system);
    } catch (const std::exception& error) {
        // Also a host window that is not there: the program ends before any
        // window shows, and writes no ini file.
        show_error_box(nullptr, QString::fromStdString(enlazor::error_box_text(error.what())));
    }
    help->system.ShutDown();
    return exit_code;
}
