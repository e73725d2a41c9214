// The "Comprobar datos" window over real documents: what it shows must be
// what the core's check says of the same input, and nothing it does writes
// anything but the report the user saves.

#include "app/check_window/check_window.h"
#include "app/check_window/program_icon.h"
#include "app/qt_paths.h"
#include "check/check.h"
#include "platform/places.h"
#include "support/check_window_texts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace enlazor;
using namespace enlazor::app;

namespace {

const QString fixture = QStringLiteral(ENLAZOR_SOURCE_DIR "/tests/check/fixtures/every_export_finding.xml");

QString qt(const std::string& utf8) {
    return QString::fromUtf8(utf8);
}

// Answers the next modal dialog from inside its event loop.
void on_next_modal(QObject* guard, std::function<void(QWidget&)> answer) {
    QTimer::singleShot(10, guard, [guard, answer] {
        if (QWidget* modal = QApplication::activeModalWidget())
            answer(*modal);
        else
            on_next_modal(guard, answer);
    });
}

// Every file and folder under `dir`, with a file's bytes: lock files and
// half-written tables in HTEMP count too.
QMap<QString, QByteArray> files_under(const QString& dir) {
    QMap<QString, QByteArray> files;
    QDirIterator entries(dir, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        QFile file(entries.next());
        files[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    return files;
}

} // namespace

class CheckWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString document_, exchange_;
    Settings settings_;

    template <typename T>
    static T* part(CheckWindow& window, const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }

    // A window started as `enlazor-comprobar DOCUMENT --exchange-dir DIR`.
    std::unique_ptr<CheckWindow> started_on(const QString& document, const QString& exchange) {
        auto window = std::make_unique<CheckWindow>(settings_, to_path(folder_.path()));
        window->start(app::checking::parse_check_arguments(
            {document.toStdString(), "--exchange-dir", exchange.toStdString()}));
        return window;
    }

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        document_ = folder_.filePath(QStringLiteral("escuela.xml"));
        exchange_ = folder_.filePath(QStringLiteral("HTEMP"));
        QVERIFY(QFile::copy(fixture, document_));
        QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("HTEMP")));
        settings_ = settings_from_environment();
    }

    void shows_what_the_core_finds_in_its_order() {
        const auto before = files_under(folder_.path());
        auto window = started_on(document_, exchange_);
        Settings settings = settings_;
        settings.exchange_dir = to_path(exchange_);
        const CheckReport expected = run_check(to_path(document_), settings);
        QVERIFY(expected.warnings() > 5);

        QCOMPARE(window->windowTitle(), qt(app::checking::window_title(expected)));
        const auto rows = app::checking::finding_rows(expected);
        auto* list = part<QTreeWidget>(*window, "findings");
        QCOMPARE(list->topLevelItemCount(), int(rows.size()));
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            const auto& row = rows[std::size_t(i)];
            QCOMPARE(QStringList({item->text(0), item->text(1), item->text(2), item->text(3)}),
                     QStringList({qt(row.severity_text), qt(row.direction_text), qt(row.what), qt(row.where)}));
        }
        QCOMPARE(part<QLabel>(*window, "summary")->text(), qt(app::checking::summary_line(expected)));
        QVERIFY(part<QPushButton>(*window, "save")->isEnabled());
        QVERIFY(part<QPushButton>(*window, "copy")->isEnabled());
        QVERIFY(!QApplication::overrideCursor());  // the wait cursor is gone

        part<QPushButton>(*window, "copy")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), qt(report_text(expected)));
        QCOMPARE(files_under(folder_.path()), before);
    }

    // What cannot be checked is said in the window; nothing is written.
    void says_what_stands_in_the_way() {
        QFile broken(folder_.filePath(QStringLiteral("roto.xml")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("<document><subjects>") > 0);
        broken.close();
        const struct {
            QString document, exchange;
            bool reported;
        } cases[] = {
            {folder_.filePath(QStringLiteral("falta.xml")), exchange_, false},
            {broken.fileName(), exchange_, false},
            {document_, folder_.filePath(QStringLiteral("no-existe")), true},
        };
        const auto before = files_under(folder_.path());
        for (const auto& c : cases) {
            auto window = started_on(c.document, c.exchange);
            Settings settings = settings_;
            settings.exchange_dir = to_path(c.exchange);
            const auto outcome = app::checking::check_document(to_path(c.document), settings);
            QVERIFY(!outcome.message.empty());
            QCOMPARE(part<QLabel>(*window, "status")->text(), qt(outcome.message));
            QCOMPARE(window->report().has_value(), c.reported);
            QCOMPARE(part<QPushButton>(*window, "save")->isEnabled(), c.reported);
            if (!c.reported)
                QCOMPARE(window->windowTitle(), QString::fromUtf8(app::checking::window_title_base));
            QVERIFY(!QApplication::overrideCursor());
        }
        QCOMPARE(files_under(folder_.path()), before);
    }

    void arguments_not_understood_leave_the_window_usable() {
        auto window = std::make_unique<CheckWindow>(settings_, to_path(folder_.path()));
        window->start(app::checking::parse_check_arguments({"--nada"}));
        QCOMPARE(part<QLabel>(*window, "status")->text(), QStringLiteral("Opción desconocida: --nada."));
        QVERIFY(!part<QPushButton>(*window, "save")->isEnabled());
        QVERIFY(!part<QPushButton>(*window, "check")->isEnabled());  // no document yet
        part<QLineEdit>(*window, "document")->setText(document_);
        part<QPushButton>(*window, "check")->click();
        QVERIFY(window->report().has_value());
    }

    // The save dialog's filter gives a name without an extension its kind.
    void saves_the_report_through_the_dialog() {
        auto window = started_on(document_, exchange_);
        const CheckReport& report = *window->report();
        const struct {
            int filter;
            const char *typed, *saved;
            bool json;
        } cases[] = {
            {0, "informe", "informe.txt", false},
            {1, "informe", "informe.json", true},
            {1, "otro.txt", "otro.txt", false},
            {0, "otro.JSON", "otro.JSON", true},
        };
        for (const auto& c : cases) {
            QStringList filters;
            QString started_in;
            on_next_modal(window.get(), [&](QWidget& modal) {
                auto& dialog = dynamic_cast<QFileDialog&>(modal);
                filters = dialog.nameFilters();
                started_in = dialog.directory().absolutePath();
                dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->setCurrentIndex(c.filter);
                dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromLatin1(c.typed));
                QMetaObject::invokeMethod(&dialog, "accept");
            });
            part<QPushButton>(*window, "save")->click();
            QCOMPARE(filters, QStringList({QStringLiteral("Texto (*.txt)"), QStringLiteral("JSON (*.json)")}));
            QCOMPARE(started_in, QDir(folder_.path()).absolutePath());  // beside the document
            QFile saved(folder_.filePath(QString::fromLatin1(c.saved)));
            QVERIFY2(saved.open(QIODevice::ReadOnly), c.saved);
            QCOMPARE(saved.readAll().toStdString(), c.json ? report_json(report) : report_text(report));
            saved.remove();
        }
    }

    // Every word and mnemonic the Win32 window shows too (its test holds
    // it against the same table), and nothing else.
    void shows_the_texts_of_both_windows() {
        using test_support::Shown;
        auto window = started_on(document_, exchange_);
        QStringList expected, shown;
        for (const test_support::ShownText& text : test_support::check_window_texts)
            expected << QString::number(int(text.kind == Shown::Painted ? Shown::Label : text.kind)) + qt(text.text);
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            // The check's own words come and go with each check.
            if (label->objectName() != QStringLiteral("status") && label->objectName() != QStringLiteral("summary"))
                shown << QString::number(int(Shown::Label)) + label->text();
        }
        for (const QPushButton* button : window->findChildren<QPushButton*>())
            shown << QString::number(int(Shown::Button)) + button->text();
        const QTreeWidget* list = part<QTreeWidget>(*window, "findings");
        for (int column = 0; column < list->columnCount(); ++column)
            shown << QString::number(int(Shown::Column)) + list->headerItem()->text(column);
        expected.sort();
        shown.sort();
        QCOMPARE(shown, expected);
    }

    // "Examinar…" opens where the main window's dialog does, on XML files,
    // and the document chosen is checked at once.
    void browses_from_the_saga_folder() {
        CheckWindow window(settings_, to_path(exchange_));
        QStringList seen;
        on_next_modal(&window, [&](QWidget& modal) {
            auto& dialog = dynamic_cast<QFileDialog&>(modal);
            seen << dialog.directory().absolutePath() << dialog.nameFilters();
            // Set, not typed: the completer's popup would outlive the dialog.
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(document_);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        part<QPushButton>(window, "browse")->click();
        QCOMPARE(seen, QStringList({QDir(exchange_).absolutePath(), QStringLiteral("Documentos SAGA (*.xml)"),
                                    QStringLiteral("Todos los archivos (*)")}));
        QCOMPARE(part<QLineEdit>(window, "document")->text(), document_);
        QVERIFY(window.report());
    }

    void a_report_that_cannot_be_written_is_told() {
        auto window = started_on(document_, exchange_);
        QString told;
        on_next_modal(window.get(), [&](QWidget& modal) {
            auto& box = dynamic_cast<QMessageBox&>(modal);
            told = box.text();
            box.accept();
        });
        QVERIFY(!window->save_report_to(to_path(folder_.filePath(QStringLiteral("no-existe/informe.txt")))));
        QVERIFY2(told.startsWith(QStringLiteral("No se pudo guardar el informe en ")), qPrintable(told));
    }

    void escape_and_cerrar_close_it() {
        for (const bool escape : {true, false}) {
            CheckWindow window(settings_, to_path(folder_.path()));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            if (escape)
                QTest::keyClick(part<QLineEdit>(window, "document"), Qt::Key_Escape);
            else
                part<QPushButton>(window, "close")->click();
            QVERIFY(!window.isVisible());
        }
    }

    void the_icon_is_drawn_at_every_size() {
        const QIcon icon = program_icon();
        QCOMPARE(icon.availableSizes().size(), 7);
        const QImage image = icon.pixmap(64, 64).toImage();
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);                 // round corners
        QCOMPARE(image.pixelColor(6, 32), QColor(0x26, 0x7a, 0x8a));  // the teal ground
    }

    void report_suffix_follows_the_filter() {
        QCOMPARE(report_suffix(QStringLiteral("JSON (*.json)")), QStringLiteral("json"));
        QCOMPARE(report_suffix(QStringLiteral("Texto (*.txt)")), QStringLiteral("txt"));
    }
};

QTEST_MAIN(CheckWindowTest)
#include "check_window_test.moc"
