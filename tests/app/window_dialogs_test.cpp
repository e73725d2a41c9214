// The window's own dialogs, answered from inside their event loops: the
// file dialog as both buttons open it, and the two kinds of message box.

#include "app/MainForm.h"
#include "app/qt_translations.h"
#include "frame_doubles.h"
#include "base/error.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>

using namespace enlazor::app;
using enlazor::app::testing::RecordingConversions;

namespace {

// Runs `answer` on each modal dialog in turn as it comes up; a dialog the
// script does not expect is closed so the test fails instead of hanging.
class ModalScript {
public:
    using Step = std::function<void(QWidget&)>;

    explicit ModalScript(std::initializer_list<Step> steps) : steps_(steps) { arm(); }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

private:
    void arm() {
        // Timers die with `guard_`, so a script left unfinished by a failed
        // test never runs into the next one.
        QTimer::singleShot(0, &guard_, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                arm();
                return;
            }
            if (next_ < steps_.size())
                steps_[next_++](*modal);
            else
                modal->close();
            if (next_ < steps_.size())
                arm();
        });
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QObject guard_;
};

ModalScript::Step type_name(const QString& name) {
    return [name](QWidget& modal) {
        auto& dialog = dynamic_cast<QFileDialog&>(modal);
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        edit->clear();
        QTest::keyClicks(edit, name);
        QMetaObject::invokeMethod(&dialog, "accept");
    };
}

// Cancels the file dialog, after noting what it offered and, when asked,
// after browsing to another folder.
ModalScript::Step cancel(QStringList* offered = nullptr, bool browse_away = false) {
    return [offered, browse_away](QWidget& modal) {
        auto& dialog = dynamic_cast<QFileDialog&>(modal);
        if (offered)
            *offered = dialog.selectedFiles();
        if (browse_away)
            dialog.setDirectory(QDir::rootPath());
        dialog.reject();
    };
}

// What a message box looked like while it was up.
struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QStringList buttons;
    QPoint off_centre;  // of its frame from the screen's centre
};

ModalScript::Step read_box(SeenBox& seen) {
    return [&seen](QWidget& modal) {
        auto& box = dynamic_cast<QMessageBox&>(modal);
        seen.caption = box.windowTitle();
        seen.text = box.text();
        seen.icon = box.icon();
        seen.format = box.textFormat();
        for (QAbstractButton* button : box.buttons())
            seen.buttons << button->text();
        seen.off_centre = box.frameGeometry().center() - box.screen()->geometry().center();
        box.buttons().first()->click();
    };
}

// Hosted mode's host, keeping the dialogs it was given.
class RecordingHost final : public HostWindows {
public:
    QStringList adopted;
    void embed(QWidget&, std::uint32_t, std::function<void()>) override {}
    void adopt_dialog(QWidget& dialog) override {
        adopted << QString::fromLatin1(dialog.metaObject()->className()).section(':', -1);
    }
};

} // namespace

class WindowDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QStringList journal_;
    RecordingConversions* conversions_ = nullptr;
    std::unique_ptr<ShellState> state_;
    std::unique_ptr<TMForm> window_;

    QString in_folder(const char* name) const { return QDir(folder_.path()).filePath(QString::fromLatin1(name)); }

    void click(const char* button) {
        QTest::mouseClick(window_->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        QFile file(in_folder("horario.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void init() {
        journal_.clear();
        state_ = std::make_unique<ShellState>();
        auto conversions = std::make_unique<RecordingConversions>(journal_);
        conversions_ = conversions.get();
        window_ = std::make_unique<TMForm>(*state_, std::move(conversions), folder_.path().toStdString());
        window_->show();
    }

    void cancelledFirstDialogShowsPlainMessageCentredOnScreen() {
        SeenBox seen;
        ModalScript script{cancel(), read_box(seen)};
        click("BExportar");
        QCOMPARE(seen.caption, QStringLiteral("Enlazor"));
        QCOMPARE(seen.text, QStringLiteral("No existe archivo"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{"Aceptar"});
        QVERIFY(seen.off_centre.manhattanLength() <= 2);  // odd sizes do not halve exactly
        QVERIFY(journal_.isEmpty());
    }

    void typedNameGetsXmlAndIsOfferedAgainNextTime() {
        SeenBox finished;
        ModalScript script{type_name("horario"), read_box(finished)};
        click("BExportar");
        QCOMPARE(finished.text, QStringLiteral("Proceso finalizado"));
        QCOMPARE(journal_, QStringList{"export " + in_folder("horario.xml") + " (hourglass)"});

        SeenBox again;
        ModalScript second{cancel(nullptr, true), read_box(again)};
        click("BImportar");
        QCOMPARE(journal_.last(), "import " + in_folder("horario.xml") + " (hourglass)");

        QStringList offered;
        ModalScript third{cancel(&offered), read_box(again)};
        click("BExportar");
        QCOMPARE(offered, QStringList{in_folder("horario.xml")});
    }

    void missingTypedNameIsAcceptedThenReported() {
        SeenBox seen;
        ModalScript script{type_name("no-esta.xml"), read_box(seen)};
        click("BImportar");
        QCOMPARE(seen.text, QStringLiteral("No existe archivo"));
        QCOMPARE(QString::fromStdString(state_->chosen_path.string()), in_folder("no-esta.xml"));
    }

    // Inside a host the file dialog and the message boxes belong to the host
    // and come up in the middle of the screen, not over the small window.
    void hostedDialogsBelongToTheHostAndSitMidScreen() {
        ShellState state;
        state.arguments = {"exportar", "1A2B"};
        state.completion_ini = in_folder("Horalis.ini").toStdString();
        RecordingHost host;
        TMForm window(state, std::make_unique<RecordingConversions>(journal_), folder_.path().toStdString(),
                      {.host_windows = &host});
        QPoint dialog_off_centre{99, 99};
        SeenBox seen;
        ModalScript script{[&dialog_off_centre](QWidget& dialog) {
                               dialog_off_centre =
                                   dialog.frameGeometry().center() - dialog.screen()->geometry().center();
                               static_cast<QFileDialog&>(dialog).reject();
                           },
                           read_box(seen)};
        window.show();
        QCOMPARE(seen.text, QStringLiteral("No existe archivo"));
        QCOMPARE(host.adopted, (QStringList{"QFileDialog", "QMessageBox"}));
        QVERIFY2(dialog_off_centre.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1, %2 off").arg(dialog_off_centre.x()).arg(dialog_off_centre.y())));
        QVERIFY(seen.off_centre.manhattanLength() <= 2);
    }

    // Qt's own pieces speak the user's language, as the system's dialogs do
    // on Windows; the program's own texts stay as they are.
    void qtOwnTextsFollowTheUsersLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Spanish") << "es_ES" << QStringList{"Ver en:", "Cancelar", "Aceptar"};
        QTest::newRow("C") << "C" << QStringList{"Look in:", "Cancel", "Aceptar"};
    }

    void qtOwnTextsFollowTheUsersLanguage() {
        QFETCH(QString, locale);
        QFETCH(QStringList, texts);
        QTranslator* translator = install_qt_translations(*qApp, QLocale(locale));
        QStringList seen;
        SeenBox box;
        ModalScript script{[&seen](QWidget& modal) {
                               auto& dialog = dynamic_cast<QFileDialog&>(modal);
                               seen << dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text()
                                    << dialog.findChild<QDialogButtonBox*>()
                                           ->button(QDialogButtonBox::Cancel)
                                           ->text()
                                           .remove('&');
                               dialog.reject();
                           },
                           read_box(box)};
        click("BExportar");
        QCoreApplication::removeTranslator(translator);
        delete translator;
        seen << box.buttons;
        QCOMPARE(seen, texts);
    }

    void errorBoxShowsMessageAsPlainTextWithErrorIcon() {
        conversions_->failure = [] { throw enlazor::Error("Etiqueta <b> sin cerrar"); };
        SeenBox seen;
        ModalScript script{type_name("horario.xml"), read_box(seen)};
        click("BExportar");
        QCOMPARE(seen.caption, QStringLiteral("Enlazor"));
        QCOMPARE(seen.text, QStringLiteral("Etiqueta <b> sin cerrar."));
        QCOMPARE(seen.format, Qt::PlainText);
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons.size(), 1);
        QVERIFY(seen.off_centre.manhattanLength() <= 2);
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(WindowDialogsTest)
#include "window_dialogs_test.moc"
