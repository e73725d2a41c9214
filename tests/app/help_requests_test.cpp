// Help from the window: F1 anywhere and "F1 AYUDA" reach the HTML Help entry
// point with the help file beside the executable, through the help system
// and the bridge as the program sets them up.

#include "app/MainForm.h"
#include "shell/help/sto_html_help.h"
#include "platform/executable_folder.h"
#include "frame_doubles.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace enlazor::app;
using namespace enlazor::help;
using enlazor::app::testing::RecordingConversions;
using enlazor::app::testing::ScriptedUser;

namespace {

struct Request {
    std::uintptr_t owner;
    std::string file;
    unsigned command;
    HtmlHelpData data;
};

// The window with the help bridge made as start-up makes it, around `entry`.
struct HelpBench {
    QStringList journal;
    ShellState state;
    ScriptedUser user{journal};
    std::unique_ptr<HelpBridge> bridge;
    std::unique_ptr<TMForm> window;

    explicit HelpBench(HtmlHelpEntryPoint entry)
        : bridge(make_help_bridge(std::move(entry), "SAGA.chm", enlazor::executable_folder())) {
        window = std::make_unique<TMForm>(state, std::make_unique<RecordingConversions>(journal), "/tmp",
                                          WindowLinks{.ui = &user, .help = &bridge->system});
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(QString::fromLatin1(name)); }
};

std::string help_file() {
    return enlazor::executable_folder().string() + "/SAGA.chm";
}

} // namespace

class HelpRequestsTest : public QObject {
    Q_OBJECT

    std::vector<Request> requests_;

    HtmlHelpEntryPoint recorder() {
        return [this](std::uintptr_t owner, const std::string& file, unsigned command, const HtmlHelpData& data) {
            requests_.push_back({owner, file, command, data});
        };
    }

private slots:
    void init() { requests_.clear(); }

    void f1WithAnyButtonFocusedAsksForContextOne() {
        HelpBench bench(recorder());
        QVERIFY(QTest::qWaitForWindowActive(bench.window.get()));
        for (const char* name : {"BClose", "Button1", "BExportar", "BImportar"}) {
            bench.button(name)->setFocus();
            QTest::keyClick(bench.button(name), Qt::Key_F1);
        }
        QCOMPARE(requests_.size(), 4u);
        for (const Request& request : requests_) {
            QCOMPARE(request.command, unsigned{HH_HELP_CONTEXT});
            QCOMPARE(request.file, help_file());
            QCOMPARE(std::get<std::uintptr_t>(request.data), std::uintptr_t{1});
            QCOMPARE(request.owner, std::uintptr_t{0});
        }
        QVERIFY(bench.journal.isEmpty());  // F1 starts no direction
    }

    void theHelpButtonOpensTheContents() {
        HelpBench bench(recorder());
        QTest::mouseClick(bench.button("Button1"), Qt::LeftButton);
        QCOMPARE(requests_.size(), 1u);
        QCOMPARE(requests_[0].command, unsigned{HH_DISPLAY_TOC});
        QCOMPARE(requests_[0].file, help_file());
        QCOMPARE(std::get<std::uintptr_t>(requests_[0].data), std::uintptr_t{0});
    }

    // The button sets the help file name again before asking, so a name
    // changed in between does not stick.
    void theHelpButtonRestoresTheHelpFileName() {
        HelpBench bench(recorder());
        bench.bridge->system.set_application_help_file("otro.hlp");
        QTest::mouseClick(bench.button("Button1"), Qt::LeftButton);
        QCOMPARE(requests_.size(), 1u);
        QCOMPARE(requests_[0].file, help_file());
    }

    void withoutAViewerHelpShowsNothing() {
        HelpBench bench(HtmlHelpEntryPoint{});
        QVERIFY(QTest::qWaitForWindowActive(bench.window.get()));
        QTest::keyClick(bench.button("BClose"), Qt::Key_F1);
        QTest::mouseClick(bench.button("Button1"), Qt::LeftButton);
        QVERIFY(!QApplication::activeModalWidget());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); }), 1);
        QVERIFY(bench.window->isVisible());
    }
};

QTEST_MAIN(HelpRequestsTest)
#include "help_requests_test.moc"
