// The main window as the user meets it: its parts and their places, looks,
// keyboard handling, and the buttons reaching the frames.

#include "app/MainForm.h"
#include "frame_doubles.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cstdlib>
#include <memory>

using namespace enlazor::app;
using enlazor::app::testing::RecordingConversions;
using enlazor::app::testing::ScriptedUser;

namespace {

// A window with a scripted user and recorded conversions.
struct Bench {
    QStringList journal;
    ShellState state;
    ScriptedUser user{journal};
    TMForm window;

    explicit Bench(const std::filesystem::path& saga_folder = "/tmp")
        : window(state, std::make_unique<RecordingConversions>(journal), saga_folder, {.ui = &user}) {}

    template <typename T>
    T* part(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
};

bool near(QRgb actual, const QColor& expected, int tolerance = 6) {
    return std::abs(qRed(actual) - expected.red()) <= tolerance &&
           std::abs(qGreen(actual) - expected.green()) <= tolerance &&
           std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}

QString describe(QRgb colour) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void windowIsTheFixedDialogFrameOfItsDesign() {
        Bench bench;
        QCOMPARE(bench.window.objectName(), QStringLiteral("MForm"));
        QCOMPARE(QString::fromLatin1(bench.window.metaObject()->className()).section(':', -1),
                 QStringLiteral("TMForm"));
        QCOMPARE(bench.window.windowTitle(), QStringLiteral("Exportar e importar datos entre Horalis y SAGA"));
        QCOMPARE(bench.window.minimumSize(), QSize(632, 266));
        QCOMPARE(bench.window.maximumSize(), QSize(632, 266));
        const Qt::WindowFlags flags = bench.window.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(bench.window.font().pixelSize(), 11);
    }

    void partsSitWhereTheDesignPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Draw3D2") << "Draw3D2" << "MForm" << QRect(0, -1, 315, 169);
        QTest::newRow("Label3") << "Label3" << "Draw3D2" << QRect(24, 24, 265, 57);
        QTest::newRow("BExportar") << "BExportar" << "Draw3D2" << QRect(96, 120, 89, 25);
        QTest::newRow("Draw3D3") << "Draw3D3" << "MForm" << QRect(316, 0, 317, 169);
        QTest::newRow("Label4") << "Label4" << "Draw3D3" << QRect(8, 24, 305, 57);
        QTest::newRow("BImportar") << "BImportar" << "Draw3D3" << QRect(96, 120, 89, 25);
        QTest::newRow("Draw3D1") << "Draw3D1" << "MForm" << QRect(0, 168, 633, 97);
        QTest::newRow("BClose") << "BClose" << "Draw3D1" << QRect(256, 32, 89, 25);
        QTest::newRow("Button1") << "Button1" << "Draw3D1" << QRect(265, 67, 75, 18);
        QTest::newRow("Label1") << "Label1" << "Draw3D1" << QRect(8, 72, 213, 13);
    }

    void partsSitWhereTheDesignPutsThem() {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        Bench bench;
        bench.window.show();
        auto* part = bench.window.findChild<QWidget*>(name);
        QVERIFY2(part, qPrintable(name));
        QCOMPARE(part->parentWidget()->objectName(), parent);
        QCOMPARE(part->geometry(), geometry);
    }

    void panelsPaintTheirThreeColourGradients() {
        Bench bench;
        bench.window.show();
        const QImage shot = bench.window.grab().toImage();
        struct Sample {
            int x, y;
            QColor expected;
        };
        // A row or two inside each panel's top and bottom edges, and its half height.
        const Sample samples[] = {
            {4, 1, {255, 238, 221}},    {4, 83, {255, 255, 255}},   {4, 166, {249, 211, 125}},
            {319, 1, {255, 238, 221}},  {319, 84, {255, 255, 255}}, {319, 167, {249, 211, 125}},
            {4, 169, {204, 216, 230}},  {4, 216, {207, 242, 254}},  {4, 263, {194, 205, 254}},
        };
        for (const Sample& sample : samples) {
            const QRgb actual = shot.pixel(sample.x, sample.y);
            QVERIFY2(near(actual, sample.expected),
                     qPrintable(QStringLiteral("at %1,%2: %3").arg(sample.x).arg(sample.y).arg(describe(actual))));
        }
    }

    void versionLineIsWrittenInRed() {
        Bench bench;
        bench.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bench.window));
        const QImage shot = bench.part<QLabel>("Label1")->grab().toImage();
        int red = 0, dark = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb pixel = shot.pixel(x, y);
                if (qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90)
                    ++red;
                else if (qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90)
                    ++dark;
            }
        }
        QVERIFY2(red > 20 && red > dark, qPrintable(QStringLiteral("%1 red, %2 dark pixels").arg(red).arg(dark)));
    }

    void windowComesUpCentredOnTheScreen() {
        Bench bench;
        bench.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bench.window));
        const QPoint off = bench.window.frameGeometry().center() - bench.window.screen()->geometry().center();
        QVERIFY2(off.manhattanLength() <= 2, qPrintable(QStringLiteral("%1, %2 off").arg(off.x()).arg(off.y())));
    }

    void tabGoesFooterFirstThenExportThenImport() {
        Bench bench;
        bench.window.show();
        QApplication::setActiveWindow(&bench.window);
        QVERIFY(QTest::qWaitForWindowActive(&bench.window));
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"BClose", "Button1", "BExportar", "BImportar", "BClose"}));
    }

    void enterPressesTheFocusedButton() {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            Bench bench;
            bench.window.show();
            auto* import_button = bench.part<QPushButton>("BImportar");
            import_button->setFocus();
            QTest::keyClick(import_button, key);
            QCOMPARE(bench.journal.value(0), QStringLiteral("dialog"));
        }
    }

    void closeButtonAltSAndAltF4CloseTheWindow_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("BClose") << 0;
        QTest::newRow("Alt+S") << 1;
        QTest::newRow("Alt+F4") << 2;
    }

    void closeButtonAltSAndAltF4CloseTheWindow() {
        QFETCH(int, way);
        Bench bench;
        bench.window.show();
        QApplication::setActiveWindow(&bench.window);
        QVERIFY(QTest::qWaitForWindowActive(&bench.window));
        if (way == 0)
            QTest::mouseClick(bench.part<QPushButton>("BClose"), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(&bench.window, Qt::Key_S, Qt::AltModifier);
        else
            QTest::keyClick(&bench.window, Qt::Key_F4, Qt::AltModifier);
        // A mnemonic presses its button visibly, so the click comes a moment later.
        QTRY_VERIFY(!bench.window.isVisible());
        QVERIFY(bench.journal.isEmpty());  // closing starts no direction
    }

};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
