// The "Comprobar datos" window in Qt: a document and an exchange directory
// at the top, the check's findings in a list, their summary and the tables
// read under it, and the report saved or copied. Everything it shows comes
// from shell/checking/check_view.h, which the Win32 window shares; this class
// only lays it out and answers the buttons.
#pragma once

#include "shell/checking/check_view.h"
#include "storage/settings.h"

#include <QString>
#include <QWidget>

#include <filesystem>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace enlazor::app {

// The extension the save dialog adds to a name that has none: the one of
// the filter the user picked ("json" for the JSON filter, else "txt").
QString report_suffix(const QString& name_filter);

class CheckWindow final : public QWidget {
    Q_OBJECT
public:
    // `settings` gives the exchange directory shown at first and the decimal
    // separator the check reads hours with; `saga_folder` is where the
    // document's file dialog opens.
    CheckWindow(const Settings& settings, const std::filesystem::path& saga_folder, QWidget* parent = nullptr);

    // What the command line asked: the fields filled in, and the document
    // checked at once when it names one. Arguments that are not understood
    // are said in the window, which stays usable.
    void start(const checking::CheckArguments& arguments);

    void set_document(const std::filesystem::path& document);
    void set_exchange_dir(const std::filesystem::path& directory);

    // "Comprobar": the check on the fields' document and directory. Nothing
    // is written; a document that cannot be checked leaves no report.
    void check();

    // Writes the report to `file` as save_report() does; a failure is told
    // in an error box. Returns whether the file was written.
    bool save_report_to(const std::filesystem::path& file);

    const std::optional<CheckReport>& report() const { return report_; }

private:
    void build_header();
    void build_results();
    void build_footer();
    void show_outcome(const checking::CheckOutcome& outcome);
    void show_status(const QString& text);
    void update_buttons();
    void browse_document();
    void change_exchange_dir();
    void save_report_as();
    void copy_report();

    Settings settings_;
    std::filesystem::path saga_folder_;
    std::optional<CheckReport> report_;

    QLineEdit* document_ = nullptr;
    QLineEdit* exchange_dir_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* check_ = nullptr;
    QLabel* status_ = nullptr;
    QTreeWidget* findings_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* tables_caption_ = nullptr;
    QListWidget* tables_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace enlazor::app
