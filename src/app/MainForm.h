// The main window: the export side, the import side and the footer, and the
// frame that wraps each direction.
#pragma once

#include "app/conversions.h"
#include "app/direction_frames.h"
#include "app/frame_ui.h"
#include "app/shell_state.h"

#include <QWidget>

#include <filesystem>
#include <memory>

class QFileDialog;
class QLabel;
class QPushButton;

namespace enlazor::app {

class GradientPanel;

class TMForm final : public QWidget {
    Q_OBJECT
public:
    // `conversions` are the window's to keep (with them the table objects);
    // `saga_folder` is where OpenDialogXML first opens. Without `ui` the
    // window asks the user itself; with it (tests) the frames ask `ui`.
    TMForm(ShellState& state, std::unique_ptr<Conversions> conversions,
           const std::filesystem::path& saga_folder, FrameUi* ui = nullptr, QWidget* parent = nullptr);
    ~TMForm() override;

    // The two direction frames, also started without a click in hosted mode.
    void BExportarClick();
    void BImportarClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

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

    // Help: "F1 AYUDA" opens the contents, F1 anywhere the window's context.
    void Button1Click();
    void show_context_help(int context);

    ShellState& state_;
    std::unique_ptr<Conversions> conversions_;

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
};

} // namespace enlazor::app
