// Hosted mode through the window: the command line settles the mode, the
// requested direction runs while the window is being shown, and every close
// leaves the completion flag in the ini file for Horalis.

#include "app/MainForm.h"
#include "shell/system/profile_ini.h"
#include "app/screen_centre.h"
#include "shell/window/shell_texts.h"
#include "frame_doubles.h"
#include "base/error.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>

using namespace enlazor::app;
using enlazor::app::testing::RecordingConversions;
using enlazor::app::testing::ScriptedUser;

namespace {

// The X server as hosted mode sees it: the windows that exist, and a way to
// make the host vanish.
class FakeHostWindows final : public HostWindows {
public:
    std::set<std::uint32_t> existing{6699};
    std::vector<std::uint32_t> embedded_in;
    std::function<void()> destroy_host;

    void embed(QWidget&, std::uint32_t host, std::function<void()> host_gone) override {
        if (!existing.contains(host))
            throw enlazor::Error(texts::no_host_window);
        embedded_in.push_back(host);
        destroy_host = std::move(host_gone);
    }
    void adopt_dialog(QWidget&) override {}
};

// One run of the program with the given command line.
struct Run {
    QTemporaryDir folder;
    QStringList journal;
    ShellState state;
    ScriptedUser user{journal};
    FakeHostWindows hosts;
    RecordingConversions* conversions = nullptr;
    std::unique_ptr<TMForm> window;
    std::unique_ptr<QSignalSpy> closed;

    explicit Run(std::vector<std::string> arguments) {
        state.arguments = std::move(arguments);
        state.completion_ini = in_folder("Horalis.ini");
    }

    std::filesystem::path in_folder(const char* name) const {
        return std::filesystem::path(folder.path().toStdString()) / name;
    }

    void create() {
        auto recorded = std::make_unique<RecordingConversions>(journal);
        conversions = recorded.get();
        window = std::make_unique<TMForm>(state, std::move(recorded), folder.path().toStdString(),
                                          WindowLinks{.ui = &user, .host_windows = &hosts});
        closed = std::make_unique<QSignalSpy>(window.get(), &TMForm::closed);
    }

    void start() {
        create();
        window->show();
    }

    bool ini_written() const { return std::filesystem::exists(state.completion_ini); }

    std::string ini() const {
        std::ifstream in(state.completion_ini, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

    std::string flag_in_ini() const { return enlazor::read_profile_value(ini(), "Transformadores", "Transformado"); }

    std::filesystem::path existing_document() {
        const auto path = in_folder("escuela.xml");
        std::ofstream(path) << "<document/>";
        return path;
    }
};

const QString no_such_file = QStringLiteral("message: No existe archivo");
const QString finished = QStringLiteral("message: Proceso finalizado");

} // namespace

class HostedModeTest : public QObject {
    Q_OBJECT

private slots:
    void anyCountButTwoIsNormalModeAndWritesNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("one") << QStringList{"exportar"};
        QTest::newRow("three") << QStringList{"exportar", "1A2B", "x"};
    }

    void anyCountButTwoIsNormalModeAndWritesNothing() {
        QFETCH(QStringList, arguments);
        std::vector<std::string> args;
        for (const QString& a : arguments)
            args.push_back(a.toStdString());
        Run run(args);
        run.state.completion_flag = 7;
        run.start();
        QCOMPARE(run.state.completion_flag, 0);  // reset in every mode
        QVERIFY(run.journal.isEmpty());          // nothing runs by itself
        QVERIFY(run.hosts.embedded_in.empty());
        QVERIFY(!(run.window->windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(run.window->isVisible());
        run.window->close();
        QVERIFY(!run.ini_written());
    }

    void hostedRunLivesInTheNamedWindowAndReportsItsOutcome_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("flag");
        QTest::newRow("export cancelled") << "EXPORTAR" << false << QStringList{"dialog", no_such_file} << "-1";
        QTest::newRow("import cancelled") << "importar" << false << QStringList{"dialog", no_such_file} << "0";
        QTest::newRow("export finished") << "Exportar" << true << QStringList{"dialog", "export", finished} << "1";
        QTest::newRow("import finished") << "IMPORTAR" << true << QStringList{"dialog", "import", finished} << "1";
    }

    // The direction runs before the window appears; ending, it closes the
    // window, which then never shows, and the flag is in the ini file.
    void hostedRunLivesInTheNamedWindowAndReportsItsOutcome() {
        QFETCH(QString, word);
        QFETCH(bool, confirm);
        QFETCH(QStringList, steps);
        QFETCH(QString, flag);
        Run run({word.toStdString(), "1A2B"});
        if (confirm)
            run.user.will_confirm(run.existing_document());
        run.create();
        QCOMPARE(run.hosts.embedded_in, std::vector<std::uint32_t>{6699});
        QCOMPARE(run.state.hosted_marker, 2);
        QVERIFY(run.window->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!run.ini_written());

        run.window->show();
        QStringList seen;
        for (const QString& step : run.journal)
            seen << step.section(' ', 0, step.startsWith("message") ? -1 : 0);
        QCOMPARE(seen, steps);
        QVERIFY(run.state.window_closed);
        QVERIFY(!run.window->isVisible());
        QCOMPARE(run.closed->count(), 1);
        QCOMPARE(QString::fromStdString(run.flag_in_ini()), flag);
    }

    void unknownDirectionWaitsInsideTheHostAndSalirWritesZero() {
        Run run({"consultar", "1a2b"});
        run.start();
        QVERIFY(run.journal.isEmpty());
        QVERIFY(run.window->isVisible());
        // The centring rule, counted from the host's top-left corner.
        const QSize screen = run.window->screen()->geometry().size();
        QCOMPARE(run.window->pos(), centred_offset(screen, QSize(632, 266)));
        QTest::mouseClick(run.window->findChild<QPushButton*>("BClose"), Qt::LeftButton);
        QVERIFY(!run.window->isVisible());
        QCOMPARE(run.ini(), std::string("[Transformadores]\r\nTransformado=0\r\n"));
    }

    void aDirectionThatStopsLeavesTheWindowInTheHostUntilClosed() {
        Run run({"exportar", "1A2B"});
        run.user.will_confirm(run.existing_document());
        run.create();
        run.conversions->failure = [] { throw enlazor::Error("Tabla ocupada"); };
        run.window->show();
        QCOMPARE(run.journal.last(), QStringLiteral("error: Tabla ocupada."));
        QVERIFY(run.window->isVisible());
        QVERIFY(!run.ini_written());
        run.window->close();
        QCOMPARE(run.flag_in_ini(), std::string("0"));
    }

    void aLaterRunFromTheButtonsClosesTheWindowWhenItEnds() {
        Run run({"nada", "1A2B"});
        run.user.will_confirm(run.existing_document());
        run.start();
        QTest::mouseClick(run.window->findChild<QPushButton*>("BImportar"), Qt::LeftButton);
        QCOMPARE(run.journal.last(), finished);
        QVERIFY(!run.window->isVisible());
        QCOMPARE(run.flag_in_ini(), std::string("1"));
    }

    // The error box, then the window as in normal mode; the direction still
    // runs, since showing counts the arguments afresh, but nothing reports.
    void anInvalidHandleFallsBackToNormalModeAfterTheErrorBox() {
        Run run({"exportar", "1A2G"});
        run.start();
        QCOMPARE(run.journal.value(0), QStringLiteral("error: '$1A2G' no es un valor entero válido."));
        QCOMPARE(run.journal.mid(1), (QStringList{"dialog", no_such_file}));
        QCOMPARE(run.state.hosted_marker, 0);
        QVERIFY(run.hosts.embedded_in.empty());
        QVERIFY(!(run.window->windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(run.window->isVisible());  // not closed by the frame
        run.window->close();
        QVERIFY(!run.ini_written());
    }

    void handleZeroIsABorderlessHostedWindowCentredOnTheScreen() {
        Run run({"ninguna", "0000"});
        run.start();
        QVERIFY(run.hosts.embedded_in.empty());
        QCOMPARE(run.state.hosted_marker, 2);
        QVERIFY(run.window->isWindow());
        QVERIFY(run.window->windowFlags() & Qt::FramelessWindowHint);
        const QRect screen = run.window->screen()->geometry();
        QCOMPARE(run.window->frameGeometry().topLeft(),
                 screen.topLeft() + centred_offset(screen.size(), run.window->frameGeometry().size()));
        run.window->close();
        QCOMPARE(run.flag_in_ini(), std::string("0"));
    }

    void aHostThatIsNotThereEndsTheProgramBeforeAnyWindowAndWritesNothing() {
        Run run({"exportar", "7FFFFFF0"});
        try {
            run.create();
            QFAIL("the window was created");
        } catch (const enlazor::Error& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Controlador de ventana no válido"));
        }
        QVERIFY(run.journal.isEmpty());
        QVERIFY(!run.ini_written());
    }

    void otherSectionsAndKeysOfTheIniFileStay() {
        Run run({"exportar", "1A2B"});
        std::ofstream(run.state.completion_ini, std::ios::binary)
            << "[Horalis]\r\nCentro=IES\r\n[Transformadores]\r\nOtro=3\r\nTransformado=1\r\n";
        run.start();
        QCOMPARE(run.ini(), std::string("[Horalis]\r\nCentro=IES\r\n[Transformadores]\r\nOtro=3\r\nTransformado=-1\r\n"));
    }

    // The error box says where, and the window closes all the same: Horalis
    // waits for the process, and a window that cannot close would hang it.
    void aFailedWriteIsReportedAndTheWindowStillCloses() {
        Run run({"nada", "1A2B"});
        std::ofstream(run.state.completion_ini) << "[Transformadores]\nTransformado=1\n";
        ::chmod(run.state.completion_ini.c_str(), 0444);
        run.start();
        run.window->close();
        const QString path = QString::fromStdString(run.state.completion_ini.string());
        QCOMPARE(run.journal, QStringList{"error: Unable to write to " + path + "."});
        QVERIFY(!run.window->isVisible());
        QCOMPARE(run.closed->count(), 1);
        // Closing again neither writes nor tells again.
        run.window->close();
        QCOMPARE(run.journal.size(), 1);
        QCOMPARE(run.closed->count(), 1);
        ::chmod(run.state.completion_ini.c_str(), 0644);
    }

    void aVanishedHostClosesTheProgramAsAnyClose() {
        Run run({"nada", "1A2B"});
        run.start();
        run.hosts.destroy_host();
        QVERIFY(!run.window->isVisible());
        QCOMPARE(run.closed->count(), 1);
        QCOMPARE(run.flag_in_ini(), std::string("0"));
    }

    // The host goes while the file dialog of the hosted direction is up: the
    // close reports, and the frame ends without another message or report.
    void aHostVanishingDuringTheDialogEndsTheDirectionQuietly() {
        Run run({"exportar", "1A2B"});
        run.user.while_dialog_open = [&run] { run.hosts.destroy_host(); };
        run.create();
        run.window->show();
        QCOMPARE(run.journal, QStringList{"dialog"});
        QCOMPARE(run.closed->count(), 1);
        QCOMPARE(run.flag_in_ini(), std::string("0"));
        QVERIFY(!run.window->isVisible());
    }
};

QTEST_MAIN(HostedModeTest)
#include "hosted_mode_test.moc"
