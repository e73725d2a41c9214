#include "app/MainForm.h"

#include "app/dialog_frame_ui.h"
#include "app/glyphs.h"
#include "app/gradient_panel.h"
#include "shell/help/help_requests.h"
#include "app/qt_paths.h"
#include "app/screen_centre.h"
#include "shell/window/hosted_mode.h"
#include "shell/window/shell_texts.h"
#include "app/window_look.h"
#include "base/error.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace enlazor::app {

namespace {

GradientPanel* make_panel(QWidget* parent, const char* name, const QRect& geometry,
                          const PanelGradient& gradient) {
    auto* panel = new GradientPanel(gradient, parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    return panel;
}

// Labels lie over the gradient without a background of their own and keep
// their design size, wrapping words inside it.
QLabel* make_label(QWidget* panel, const char* name, const QRect& geometry, const QString& text,
                   const QFont& font) {
    auto* label = new QLabel(panel);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(false);
    // The window's button-face background would otherwise make labels draw
    // in the button-text colour, whatever their own window-text colour is.
    label->setForegroundRole(QPalette::WindowText);
    label->setGeometry(geometry);
    label->setFixedSize(geometry.size());
    return label;
}

// Enter and Return press the button that has the keyboard focus, as in a
// dialog, although the window is not one.
QPushButton* make_button(QWidget* panel, const char* name, const QRect& geometry, const QString& caption,
                         const QIcon& glyph = {}) {
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFixedSize(geometry.size());
    button->setAutoDefault(true);
    if (!glyph.isNull()) {
        button->setIcon(glyph);
        button->setIconSize(QSize(glyph_size, glyph_size));
    }
    return button;
}

} // namespace

TMForm::TMForm(ShellState& state, std::unique_ptr<Conversions> conversions,
               const std::filesystem::path& saga_folder, WindowLinks links)
    : QWidget(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(state), conversions_(std::move(conversions)), links_(links) {
    setObjectName(QStringLiteral("MForm"));
    setWindowTitle(QString::fromUtf8(texts::window_caption));
    setFixedSize(look::client_width, look::client_height);
    setFont(look::window_font());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    // Later panels lie over earlier ones where they meet.
    build_export_side();
    build_import_side();
    build_footer();
    set_keyboard_order();
    create_open_dialog(saga_folder);

    if (!links_.ui) {
        own_ui_ = std::make_unique<DialogFrameUi>(*this, *OpenDialogXML);
        links_.ui = own_ui_.get();
    }
    frames_ = std::make_unique<DirectionFrames>(state_, *links_.ui, *conversions_, [this] { close(); });

    // Alt+F4 closes the window even where no window manager offers it.
    auto* close_keys = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(close_keys, &QShortcut::activated, this, &QWidget::close);
    auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help_key, &QShortcut::activated, this, [this] { show_context_help(); });

    FormCreate();
}

TMForm::~TMForm() = default;

void TMForm::build_export_side() {
    Draw3D2 = make_panel(this, "Draw3D2", look::export_panel, look::direction_gradient());
    Label3 = make_label(Draw3D2, "Label3", look::export_caption,
                        QString::fromUtf8(texts::export_caption), look::caption_font());
    BExportar = make_button(Draw3D2, "BExportar", look::direction_button, QString::fromUtf8(texts::direction_button),
                            check_mark_glyph());
    connect(BExportar, &QPushButton::clicked, this, &TMForm::BExportarClick);
}

void TMForm::build_import_side() {
    Draw3D3 = make_panel(this, "Draw3D3", look::import_panel, look::direction_gradient());
    Label4 = make_label(Draw3D3, "Label4", look::import_caption,
                        QString::fromUtf8(texts::import_caption), look::caption_font());
    BImportar = make_button(Draw3D3, "BImportar", look::direction_button, QString::fromUtf8(texts::direction_button),
                            check_mark_glyph());
    connect(BImportar, &QPushButton::clicked, this, &TMForm::BImportarClick);
}

void TMForm::build_footer() {
    Draw3D1 = make_panel(this, "Draw3D1", look::footer_panel, look::footer_gradient());
    BClose = make_button(Draw3D1, "BClose", look::close_button, QString::fromUtf8(texts::close_button), open_door_glyph());
    connect(BClose, &QPushButton::clicked, this, &QWidget::close);
    Button1 = make_button(Draw3D1, "Button1", look::help_button, QString::fromUtf8(texts::help_button));
    connect(Button1, &QPushButton::clicked, this, &TMForm::Button1Click);
    Label1 = make_label(Draw3D1, "Label1", look::version_label, QString::fromUtf8(texts::version_label),
                        look::version_font());
    QPalette red_text = Label1->palette();
    red_text.setColor(QPalette::WindowText, QColor(layout::version_colour.red, layout::version_colour.green,
                                                     layout::version_colour.blue));
    Label1->setPalette(red_text);
}

// The footer first, then the export side, then the import side; the first
// of them has the focus when the window comes up.
void TMForm::set_keyboard_order() {
    setTabOrder(BClose, Button1);
    setTabOrder(Button1, BExportar);
    setTabOrder(BExportar, BImportar);
    BClose->setFocus();
}

void TMForm::create_open_dialog(const std::filesystem::path& saga_folder) {
    // Qt's own dialog on every platform: it accepts the name of a file that
    // does not exist yet, and behaves the same for the user and the tests.
    OpenDialogXML = new QFileDialog(this);
    OpenDialogXML->setObjectName(QStringLiteral("OpenDialogXML"));
    OpenDialogXML->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialogXML->setWindowTitle(QString::fromUtf8(texts::dialog_title));
    OpenDialogXML->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialogXML->setFileMode(QFileDialog::AnyFile);
    OpenDialogXML->setNameFilter(QString::fromUtf8(texts::dialog_filter));
    OpenDialogXML->setDefaultSuffix(QString::fromUtf8(texts::dialog_default_suffix));
    OpenDialogXML->setDirectory(to_qstring(saga_folder));
}

void TMForm::BExportarClick() {
    frames_->run(Direction::Export);
}

void TMForm::BImportarClick() {
    frames_->run(Direction::Import);
}

// The direction runs before Qt shows anything: a close from inside a show
// event would be followed by Qt mapping the window all the same.
void TMForm::setVisible(bool visible) {
    if (visible && isHidden() && !state_.window_closed) {
        place_on_first_show();
        FormShow();
        if (state_.window_closed)
            return;
    }
    QWidget::setVisible(visible);
}

// Centred when it first comes up; where the user moves it later stays. Inside
// a host the same offsets count from the host's top-left corner.
void TMForm::place_on_first_show() {
    if (shown_before_)
        return;
    shown_before_ = true;
    winId();  // the frame, where the platform tells it, counts in the centring
    if (!embedded_) {
        centre_on_screen(*this);
        return;
    }
    const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
    if (on)
        move(centred_offset(on->geometry().size(), size()));
}

void TMForm::closeEvent(QCloseEvent* event) {
    event->accept();
    // The window closes once; a frame or the host asking again while the
    // program ends must not report twice.
    if (state_.window_closed)
        return;
    state_.window_closed = true;
    FormClose();
    emit closed();
}

void TMForm::FormCreate() {
    if (const std::optional<std::uint32_t> host = host_from_command_line(state_, *links_.ui)) {
        live_in(*host);
        state_.hosted_marker = 2;
    }
}

// A borderless window inside the host, or centred on the screen when the
// host is 0. Throws Error when the host names no window.
void TMForm::live_in(std::uint32_t host) {
    if (host != 0 && !links_.host_windows)
        throw Error(texts::no_host_window);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    if (host == 0)
        return;
    links_.host_windows->embed(*this, host, [window = QPointer<TMForm>(this)] {
        if (window)
            window->host_gone();
    });
    embedded_ = true;
    // Our dialogs are shown over the host, which owns them.
    qApp->installEventFilter(this);
}

bool TMForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && embedded_ && watched != this && watched->isWidgetType()) {
        auto* dialog = static_cast<QWidget*>(watched);
        if (dialog->isWindow() && dialog->parentWidget() == this) {
            links_.host_windows->adopt_dialog(*dialog);
            centre_on_screen(*dialog);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// A vanished host closes the program as any close would; a dialog of a
// direction still open ends with it.
void TMForm::host_gone() {
    close();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->parentWidget() == this)
            dialog->reject();
    }
}

void TMForm::FormShow() {
    run_hosted_direction(state_, *frames_);
}

void TMForm::FormClose() {
    report_completion(state_, *links_.ui);
}

void TMForm::Button1Click() {
    if (links_.help)
        help::show_help_contents(*links_.help);
}

void TMForm::show_context_help() {
    if (links_.help)
        help::show_help_context(*links_.help);
}

} // namespace enlazor::app
