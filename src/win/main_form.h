// The main window MForm on Windows: the export side, the import side and the
// footer, the frame that wraps each direction, and hosted mode, in which the
// window lives inside one of Horalis's windows and reports its outcome in
// Horalis.ini when it closes.
#pragma once

#include "shell/help/help_system.h"
#include "shell/window/core_conversions.h"
#include "shell/window/direction_frames.h"
#include "shell/window/shell_state.h"
#include "dpi.h"
#include "frame_dialogs.h"
#include "host_overlay.h"
#include "hosted.h"
#include "panels.h"
#include "window_look.h"

#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace enlazor::win {

class TMForm {
public:
    // Settles normal or hosted mode (FormCreate) and creates the window,
    // hidden. Throws Error when the command line names a host window that
    // does not exist: then no window is made.
    TMForm(app::ShellState& state, std::unique_ptr<app::CoreConversions> conversions,
           const std::filesystem::path& saga_folder, help::HelpSystem& help);
    ~TMForm();
    TMForm(const TMForm&) = delete;
    TMForm& operator=(const TMForm&) = delete;

    // Shows the window, which first runs the hosted direction (FormShow),
    // and handles window messages until the window has closed.
    void run();

    // The two direction frames, also started without a click in hosted mode.
    void BExportarClick();
    void BImportarClick();

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    // The keys the window answers itself, before the dialog manager moves
    // the focus and presses buttons by their mnemonics. True when handled.
    bool handle_key(const MSG& message);
    void command(int id);

    void create_window();
    void build_footer();
    std::unique_ptr<GradientPanel> direction_side(const app::layout::Box& box, const app::layout::Box& caption_box,
                                                  const char* caption, int id, HWND& button);

    // Hooks of the window's life: hosted mode settles itself in FormCreate,
    // starts its direction in FormShow and reports in FormClose.
    void FormCreate();
    void FormShow();
    void FormClose();

    // Every way of closing goes through here, once.
    void close();
    // The window is gone, by our close or because its host destroyed it.
    void destroyed();
    void host_gone();

    HWND dialog_owner() const;
    void listen_for_settings();
    void regional_settings_changed();

    app::ShellState& state_;
    std::unique_ptr<app::CoreConversions> conversions_;
    help::HelpSystem& help_;
    Dpi dpi_;
    WindowLook look_;
    Placement placement_;
    // Under Wine the window lies over its host instead of inside it.
    std::optional<HostOverlay> overlay_;

    HWND handle_ = nullptr;
    // Hosted as a child, the window is not told of changed settings; a
    // hidden top-level window hears them instead.
    HWND settings_listener_ = nullptr;
    HWND focused_ = nullptr;  // put back when the window is activated again
    bool destroying_ = false;  // from WM_DESTROY on: boxes then have no owner


    std::unique_ptr<GradientPanel> Draw3D1, Draw3D2, Draw3D3;
    HWND BExportar = nullptr;
    HWND BImportar = nullptr;
    HWND BClose = nullptr;
    HWND Button1 = nullptr;

    FrameDialogs dialogs_;
    app::DirectionFrames frames_;
};

} // namespace enlazor::win
