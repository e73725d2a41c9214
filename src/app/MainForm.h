// The main window: the export side, the import side and the footer, and the
// frame that wraps each direction. Started by Horalis, it lives inside one
// of Horalis's windows and reports its outcome when it closes.
#pragma once

#include "shell/window/conversions.h"
#include "shell/window/direction_frames.h"
#include "shell/window/frame_ui.h"
#include "shell/window/shell_state.h"
#include "app/host_windows.h"

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <memory>

class QFileDialog;
class QLabel;
class QPushButton;

namespace enlazor::help {
class HelpSystem;
}

namespace enlazor::app {

class GradientPanel;

// What the window reaches besides the conversions. Tests put stand-ins here.
struct WindowLinks {
    FrameUi* ui = nullptr;                  // none: the window's own dialogs
    HostWindows* host_windows = nullptr;    // none: no window can host it
    help::HelpSystem* help = nullptr;       // none: help requests go nowhere
};

class TMForm final : public QWidget {
    Q_OBJECT
public:
    // `conversions` are the window's to keep (with them the table objects);
    // `saga_folder` is where OpenDialogXML first opens. Throws Error when the
    // command line names a host window that does not exist.
    TMForm(ShellState& state, std::unique_ptr<Conversions> conversions,
           const std::filesystem::path& saga_folder, WindowLinks links = {});
    ~TMForm() override;

    // The two direction frames, also started without a click in hosted mode.
    void BExportarClick();
    void BImportarClick();

    // Showing runs the hosted direction first; a hosted run that ends there
    // closes the window before it ever appears.
    void setVisible(bool visible) override;

signals:
    // The window has closed, once and for good: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_export_side();
    void build_import_side();
    void build_footer();
    void set_keyboard_order();
    void create_open_dialog(const std::filesystem::path& saga_folder);

    // Hooks of the window's life: hosted mode settles itself in FormCreate,
    // starts its direction in FormShow and reports in FormClose.
    void FormCreate();
    void FormShow();
    void FormClose();

    void live_in(std::uint32_t host);
    void place_on_first_show();
    void host_gone();

    // Help: "F1 AYUDA" opens the contents, F1 anywhere the window's context.
    void Button1Click();
    void show_context_help();

    ShellState& state_;
    std::unique_ptr<Conversions> conversions_;
    WindowLinks links_;

    GradientPanel* Draw3D1 = nullptr;
    GradientPanel* Draw3D2 = nullptr;
    GradientPanel* Draw3D3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* BExportar = nullptr;
    QPushButton* BImportar = nullptr;
    QPushButton* BClose = nullptr;
    QPushButton* Button1 = nullptr;
    QFileDialog* OpenDialogXML = nullptr;

    std::unique_ptr<FrameUi> own_ui_;  // when no `ui` was given
    std::unique_ptr<DirectionFrames> frames_;
    bool shown_before_ = false;
    bool embedded_ = false;  // a child of a host window
};

} // namespace enlazor::app
