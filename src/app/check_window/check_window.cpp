#include "app/check_window/check_window.h"

#include "app/gradient_panel.h"
#include "shell/help/own_help.h"
#include "app/message_boxes.h"
#include "app/qt_paths.h"
#include "app/window_look.h"
#include "platform/places.h"
#include "base/error.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace enlazor::app {

namespace texts = checking::texts;

namespace {

QString qt(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The wait cursor for as long as the check runs, restored however it ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The shell's texts, filters and colour in Qt's terms.
QStringList name_filters(const auto& filters) {
    QStringList list;
    for (const checking::texts::FileFilter& filter : filters)
        list << qt(checking::texts::filter_text(filter));
    return list;
}

QString colour_name(const layout::Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue).name();
}

QPushButton* make_button(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// The findings' columns.
enum Column { SeverityColumn, DirectionColumn, WhatColumn, WhereColumn };

// A tree asks its rows' height of a width it does not give, so a wrapped
// message would keep one line and lose the rest behind an ellipsis; this
// delegate measures each cell at its column's width.
class WrappingDelegate final : public QStyledItemDelegate {
public:
    explicit WrappingDelegate(QTreeWidget* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem measured = option;
        // The style wraps only within a valid rectangle; its height is free.
        measured.rect = QRect(0, 0, tree_->columnWidth(index.column()), 1);
        // A little air between rows of several lines.
        return QStyledItemDelegate::sizeHint(measured, index) + QSize(0, 4);
    }

private:
    QTreeWidget* tree_;
};

// The save dialog: the name gets the extension of the filter picked last,
// before the dialog asks whether to replace a file already there. Qt's
// filterSelected does not come for every way the filter changes.
class ReportSaveDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        setDefaultSuffix(report_suffix(selectedNameFilter()));
        QFileDialog::accept();
    }
};

} // namespace

QString report_suffix(const QString& name_filter) {
    for (const checking::texts::FileFilter& filter : checking::texts::report_filters) {
        if (name_filter == qt(checking::texts::filter_text(filter)))
            return QString::fromLatin1(filter.extension);
    }
    return QString::fromLatin1(checking::texts::report_filters[0].extension);
}

CheckWindow::CheckWindow(const Settings& settings, const std::filesystem::path& saga_folder, QWidget* parent)
    : QWidget(parent), settings_(settings), saga_folder_(saga_folder) {
    setObjectName(QStringLiteral("CheckWindow"));
    setWindowTitle(QString::fromUtf8(checking::window_title_base));
    setFont(look::window_font());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    build_header();
    build_results();
    build_footer();

    // Esc closes, as "Cerrar" does, wherever the focus is.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help_key, &QShortcut::activated, this, [] { help::show_checking_help(); });

    set_exchange_dir(settings_.exchange_dir);
    update_buttons();
    resize(900, 600);
    setMinimumSize(560, 380);
}

void CheckWindow::build_header() {
    auto* header = new GradientPanel(look::direction_gradient(), this);
    header->setObjectName(QStringLiteral("header"));
    auto* grid = new QGridLayout(header);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    auto* caption = new QLabel(qt(texts::caption), header);
    caption->setObjectName(QStringLiteral("caption"));
    caption->setFont(look::caption_font());
    grid->addWidget(caption, 0, 0, 1, 3);
    auto* note = new QLabel(qt(texts::caption_note), header);
    note->setObjectName(QStringLiteral("captionNote"));
    note->setWordWrap(true);
    grid->addWidget(note, 1, 0, 1, 3);

    document_ = new QLineEdit(header);
    document_->setObjectName(QStringLiteral("document"));
    document_->setPlaceholderText(qt(texts::document_placeholder));
    browse_ = make_button(texts::browse_button, "browse", header);
    auto* document_label = new QLabel(qt(texts::document_label), header);
    document_label->setBuddy(document_);
    grid->addWidget(document_label, 2, 0);
    grid->addWidget(document_, 2, 1);
    grid->addWidget(browse_, 2, 2);

    exchange_dir_ = new QLineEdit(header);
    exchange_dir_->setObjectName(QStringLiteral("exchangeDir"));
    change_ = make_button(texts::change_button, "change", header);
    auto* exchange_label = new QLabel(qt(texts::exchange_label), header);
    exchange_label->setBuddy(exchange_dir_);
    grid->addWidget(exchange_label, 3, 0);
    grid->addWidget(exchange_dir_, 3, 1);
    grid->addWidget(change_, 3, 2);

    check_ = make_button(texts::check_button, "check", header);
    check_->setToolTip(qt(texts::check_tip));
    check_->setDefault(true);
    grid->addWidget(check_, 4, 2);
    grid->setColumnStretch(1, 1);

    connect(browse_, &QPushButton::clicked, this, &CheckWindow::browse_document);
    connect(change_, &QPushButton::clicked, this, &CheckWindow::change_exchange_dir);
    connect(check_, &QPushButton::clicked, this, &CheckWindow::check);
    connect(document_, &QLineEdit::returnPressed, this, &CheckWindow::check);
    connect(document_, &QLineEdit::textChanged, this, &CheckWindow::update_buttons);
    static_cast<QVBoxLayout*>(layout())->addWidget(header);
}

void CheckWindow::build_results() {
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(12, 10, 12, 10);
    column->setSpacing(6);

    // What went wrong before a report, or beside it: said in the window,
    // never in a box that would stand between the user and the fields.
    status_ = new QLabel(body);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(colour_name(texts::problem_colour)));
    status_->hide();
    column->addWidget(status_);

    findings_ = new QTreeWidget(body);
    findings_->setObjectName(QStringLiteral("findings"));
    auto* findings_label = new QLabel(qt(texts::findings_label), body);
    findings_label->setObjectName(QStringLiteral("findingsLabel"));
    findings_label->setBuddy(findings_);
    column->addWidget(findings_label);
    findings_->setColumnCount(static_cast<int>(texts::columns.size()));
    QStringList titles;
    for (const char* title : texts::columns)
        titles << qt(title);
    findings_->setHeaderLabels(titles);
    findings_->setRootIsDecorated(false);
    findings_->setAlternatingRowColors(true);
    findings_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Messages are whole sentences: they wrap in their column rather than
    // hide behind a horizontal scroll bar.
    findings_->setWordWrap(true);
    findings_->setUniformRowHeights(false);
    findings_->setItemDelegate(new WrappingDelegate(findings_));
    QHeaderView* header = findings_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(SeverityColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(DirectionColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(WhatColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(WhereColumn, QHeaderView::Interactive);
    findings_->setColumnWidth(WhereColumn, 270);
    // Wider or narrower columns wrap the texts anew.
    connect(header, &QHeaderView::sectionResized, findings_, [this] { findings_->doItemsLayout(); });
    column->addWidget(findings_, 1);

    summary_ = new QLabel(body);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = look::version_font();
    summary_->setFont(bold);
    column->addWidget(summary_);

    tables_caption_ = new QLabel(qt(texts::tables_label), body);
    tables_caption_->setObjectName(QStringLiteral("tablesLabel"));
    tables_ = new QListWidget(body);
    tables_->setObjectName(QStringLiteral("tables"));
    tables_caption_->setBuddy(tables_);
    tables_caption_->hide();
    tables_->hide();
    column->addWidget(tables_caption_);
    column->addWidget(tables_);

    static_cast<QVBoxLayout*>(layout())->addWidget(body, 1);
}

void CheckWindow::build_footer() {
    auto* footer = new GradientPanel(look::footer_gradient(), this);
    footer->setObjectName(QStringLiteral("footer"));
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(12, 10, 12, 10);
    save_ = make_button(texts::save_button, "save", footer);
    copy_ = make_button(texts::copy_button, "copy", footer);
    close_ = make_button(texts::close_button, "close", footer);
    copy_->setToolTip(qt(texts::copy_tip));
    row->addWidget(save_);
    row->addWidget(copy_);
    row->addStretch(1);
    row->addWidget(close_);

    connect(save_, &QPushButton::clicked, this, &CheckWindow::save_report_as);
    connect(copy_, &QPushButton::clicked, this, &CheckWindow::copy_report);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    static_cast<QVBoxLayout*>(layout())->addWidget(footer);
}

void CheckWindow::start(const checking::CheckArguments& arguments) {
    if (!arguments.error.empty()) {
        show_status(qt(arguments.error));
        return;
    }
    if (arguments.exchange_dir)
        set_exchange_dir(*arguments.exchange_dir);
    if (arguments.document) {
        set_document(*arguments.document);
        check();
    }
}

void CheckWindow::set_document(const std::filesystem::path& document) {
    document_->setText(to_qstring(document));
}

void CheckWindow::set_exchange_dir(const std::filesystem::path& directory) {
    exchange_dir_->setText(to_qstring(directory));
}

void CheckWindow::check() {
    const std::optional<checking::CheckRequest> request =
        checking::check_request(document_->text().toStdString(), exchange_dir_->text().toStdString(), settings_);
    if (!request) {
        show_status(qt(texts::missing_document));
        document_->setFocus();
        return;
    }
    checking::CheckOutcome outcome;
    {
        WaitCursor waiting;
        outcome = checking::check_document(request->document, request->settings);
    }
    show_outcome(outcome);
}

void CheckWindow::show_outcome(const checking::CheckOutcome& outcome) {
    report_ = outcome.report;
    findings_->clear();
    tables_->clear();
    show_status(qt(outcome.message));
    if (!report_) {
        setWindowTitle(QString::fromUtf8(checking::window_title_base));
        summary_->clear();
        tables_caption_->hide();
        tables_->hide();
        update_buttons();
        return;
    }

    const QIcon error_icon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning_icon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QList<QTreeWidgetItem*> items;
    for (const checking::FindingRow& row : checking::finding_rows(*report_)) {
        auto* item = new QTreeWidgetItem({qt(row.severity_text), qt(row.direction_text), qt(row.what), qt(row.where)});
        item->setIcon(SeverityColumn, row.severity == Severity::Error ? error_icon : warning_icon);
        item->setToolTip(WhatColumn, qt(row.what));
        item->setToolTip(WhereColumn, qt(row.where));
        items.append(item);
    }
    findings_->addTopLevelItems(items);

    summary_->setText(qt(checking::summary_line(*report_)));
    for (const std::string& line : checking::table_lines(*report_))
        tables_->addItem(qt(line));
    // Every table in sight, as there are seldom more than the import's
    // seven; more scroll.
    const int rows = std::min(tables_->count(), 7);
    tables_->setFixedHeight(rows * tables_->sizeHintForRow(0) + 2 * tables_->frameWidth());
    tables_caption_->show();
    tables_->show();
    setWindowTitle(qt(checking::window_title(*report_)));
    update_buttons();
}

void CheckWindow::show_status(const QString& text) {
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

void CheckWindow::update_buttons() {
    const bool reported = report_.has_value();
    save_->setEnabled(reported);
    copy_->setEnabled(reported);
    check_->setEnabled(!document_->text().isEmpty());
}

void CheckWindow::browse_document() {
    // Qt's own dialog, as the main window's: it behaves the same for the
    // user and for the tests on every desktop.
    QFileDialog dialog(this, qt(texts::document_dialog_title));
    dialog.setObjectName(QStringLiteral("documentDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(name_filters(texts::document_filters));
    dialog.setDirectory(to_qstring(saga_folder_));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    document_->setText(dialog.selectedFiles().constFirst());
    check_->setFocus();
    check();
}

void CheckWindow::change_exchange_dir() {
    QFileDialog dialog(this, qt(texts::exchange_dialog_title));
    dialog.setObjectName(QStringLiteral("exchangeDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setDirectory(exchange_dir_->text());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    exchange_dir_->setText(dialog.selectedFiles().constFirst());
    check_->setFocus();
}

void CheckWindow::save_report_as() {
    if (!report_)
        return;
    ReportSaveDialog dialog(this, qt(texts::save_dialog_title));
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(name_filters(texts::report_filters));
    dialog.setDefaultSuffix(report_suffix(dialog.selectedNameFilter()));
    const QFileInfo document(document_->text());
    dialog.setDirectory(document.absolutePath());
    dialog.selectFile(document.completeBaseName() + qt(texts::report_name_suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    save_report_to(to_path(dialog.selectedFiles().constFirst()));
}

bool CheckWindow::save_report_to(const std::filesystem::path& file) {
    if (!report_)
        return false;
    try {
        checking::save_report(file, *report_);
        return true;
    } catch (const std::exception& error) {
        show_error_box(this, qt(error.what()));
        return false;
    }
}

void CheckWindow::copy_report() {
    if (report_)
        QGuiApplication::clipboard()->setText(qt(report_text(*report_)));
}

} // namespace enlazor::app
