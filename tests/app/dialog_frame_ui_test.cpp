// The window's real dialogs, answered from inside their own event loops:
// OpenDialogXML as the frames use it, and the two kinds of message box.

#include "app/dialog_frame_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

using namespace enlazor::app;

namespace {

// Runs `answer` on the modal dialog once it is up.
template <typename Dialog>
void when_shown(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QWidget* other = QApplication::activeModalWidget();
            if (other)
                other->close();
            return;
        }
        answer(*dialog);
    });
}

// What a message box looked like while it was up.
struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QStringList buttons;
    QPoint centre;
};

void read_and_dismiss(SeenBox& seen) {
    when_shown<QMessageBox>([&seen](QMessageBox& box) {
        seen.caption = box.windowTitle();
        seen.text = box.text();
        seen.icon = box.icon();
        seen.format = box.textFormat();
        for (QAbstractButton* button : box.buttons())
            seen.buttons << button->text();
        seen.centre = box.frameGeometry().center();
        box.buttons().first()->click();
    });
}

// Within a pixel: an odd difference of sizes cannot be halved exactly.
bool centred_on_screen(const QPoint& centre) {
    const QPoint off = centre - QGuiApplication::primaryScreen()->geometry().center();
    return off.manhattanLength() <= 2;
}

} // namespace

class DialogFrameUiTest : public QObject {
    Q_OBJECT

    QWidget window_;
    QFileDialog* dialog_ = nullptr;
    QTemporaryDir folder_;

    // The dialog as the window sets it up.
    QFileDialog* fresh_dialog() {
        delete dialog_;
        dialog_ = new QFileDialog(&window_);
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setFileMode(QFileDialog::AnyFile);
        dialog_->setNameFilter(QStringLiteral("*.xml"));
        dialog_->setDefaultSuffix(QStringLiteral("xml"));
        dialog_->setDirectory(folder_.path());
        return dialog_;
    }

    static void type_name_and_confirm(QFileDialog& dialog, const QString& name) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->clear();
        QTest::keyClicks(edit, name);
        QMetaObject::invokeMethod(&dialog, "accept");
    }

private slots:
    void initTestCase() { QVERIFY(folder_.isValid()); }

    void programMessageHasNoIconAndOneAceptarButton() {
        DialogFrameUi ui(window_, *fresh_dialog());
        SeenBox seen;
        read_and_dismiss(seen);
        ui.show_message(QStringLiteral("Proceso finalizado"));
        QCOMPARE(seen.caption, QStringLiteral("Enlazor"));
        QCOMPARE(seen.text, QStringLiteral("Proceso finalizado"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{"Aceptar"});
        QVERIFY(centred_on_screen(seen.centre));
    }

    void errorBoxShowsTheMessageAsPlainTextWithErrorIcon() {
        DialogFrameUi ui(window_, *fresh_dialog());
        SeenBox seen;
        read_and_dismiss(seen);
        const QString hostile = QStringLiteral("Etiqueta <b>sin cerrar en línea 3.");
        ui.show_error(hostile);
        QCOMPARE(seen.caption, QStringLiteral("Enlazor"));
        QCOMPARE(seen.text, hostile);
        QCOMPARE(seen.format, Qt::PlainText);
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons.size(), 1);
        QVERIFY(centred_on_screen(seen.centre));
    }

    void typedNameWithoutExtensionGetsXmlAndNeedNotExist() {
        DialogFrameUi ui(window_, *fresh_dialog());
        when_shown<QFileDialog>([](QFileDialog& dialog) { type_name_and_confirm(dialog, "horario"); });
        const auto chosen = ui.choose_saga_document();
        QVERIFY(chosen);
        QCOMPARE(QString::fromStdString(chosen->string()), QDir(folder_.path()).filePath("horario.xml"));
    }

    void cancelGivesNothing() {
        DialogFrameUi ui(window_, *fresh_dialog());
        when_shown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
        QVERIFY(!ui.choose_saga_document());
    }

    void lastConfirmedFileIsOfferedAgain() {
        DialogFrameUi ui(window_, *fresh_dialog());
        when_shown<QFileDialog>([](QFileDialog& dialog) { type_name_and_confirm(dialog, "centro.xml"); });
        QVERIFY(ui.choose_saga_document());

        // The user changes the folder shown, then cancels: the next opening
        // still offers the confirmed file.
        when_shown<QFileDialog>([](QFileDialog& dialog) {
            dialog.setDirectory(QDir::rootPath());
            dialog.reject();
        });
        QVERIFY(!ui.choose_saga_document());

        QStringList offered;
        when_shown<QFileDialog>([&offered](QFileDialog& dialog) {
            offered = dialog.selectedFiles();
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        const auto chosen = ui.choose_saga_document();
        QCOMPARE(offered, QStringList{QDir(folder_.path()).filePath("centro.xml")});
        QVERIFY(chosen);
        QCOMPARE(QString::fromStdString(chosen->string()), QDir(folder_.path()).filePath("centro.xml"));
    }
};

QTEST_MAIN(DialogFrameUiTest)
#include "dialog_frame_ui_test.moc"
