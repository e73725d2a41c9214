// The frame around both directions: the file check, the hourglass, the
// messages, the completion flag, and the state that carries over between
// runs.

#include "shell/window/direction_frames.h"
#include "frame_doubles.h"
#include "base/error.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <stdexcept>

using namespace enlazor::app;
using enlazor::Direction;
using enlazor::app::testing::RecordingConversions;
using enlazor::app::testing::ScriptedUser;

namespace {

const QString no_such_file = QStringLiteral("message: No existe archivo");
const QString finished = QStringLiteral("message: Proceso finalizado");

// One window's worth of frames with a scripted user and recorded conversions.
struct Bench {
    QStringList journal;
    ShellState state;
    ScriptedUser user{journal};
    RecordingConversions conversions{journal};
    DirectionFrames frames{state, user, conversions, [this] { journal << QStringLiteral("close"); }};
};

QString did(const char* direction, const std::filesystem::path& file) {
    return QString::fromLatin1(direction) + QStringLiteral(" ") + QString::fromStdString(file.string()) +
           QStringLiteral(" (hourglass)");
}

} // namespace

class DirectionFramesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::filesystem::path document_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        document_ = std::filesystem::path(dir_.path().toStdString()) / "escuela.xml";
        std::ofstream(document_) << "<document/>";
    }

    void firstRunWithCancelledDialogReportsMissingFileAndTouchesNothing() {
        for (const Direction direction : {Direction::Export, Direction::Import}) {
            Bench bench;
            bench.state.completion_flag = 1;
            bench.frames.run(direction);
            QCOMPARE(bench.journal, (QStringList{"dialog", no_such_file}));
            QVERIFY(bench.state.chosen_path.empty());
            QCOMPARE(bench.state.completion_flag, 1);
        }
    }

    void confirmedFileIsConvertedUnderHourglassThenFinishedIsShown() {
        Bench bench;
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Export);
        QCOMPARE(bench.journal, (QStringList{"dialog", did("export", document_), finished}));
        QCOMPARE(bench.state.completion_flag, 1);
        QCOMPARE(bench.state.chosen_path, document_);
        QVERIFY(!QApplication::overrideCursor());
    }

    void cancelledDialogWorksAgainOnTheFileConfirmedLast() {
        Bench bench;
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Export);
        bench.journal.clear();
        bench.frames.run(Direction::Import);  // dialog cancelled
        QCOMPARE(bench.journal, (QStringList{"dialog", did("import", document_), finished}));
    }

    void confirmedMissingNameStaysChosenAndIsReportedAfterEveryCancel() {
        Bench bench;
        const auto missing = document_.parent_path() / "no-esta.xml";
        bench.user.will_confirm(missing);
        bench.frames.run(Direction::Export);
        bench.frames.run(Direction::Import);
        bench.frames.run(Direction::Export);
        QCOMPARE(bench.journal, (QStringList{"dialog", no_such_file, "dialog", no_such_file, "dialog",
                                             no_such_file}));
        QCOMPARE(bench.state.chosen_path, missing);

        bench.journal.clear();
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Export);
        QCOMPARE(bench.journal, (QStringList{"dialog", did("export", document_), finished}));
    }

    void aFolderIsNoDocument() {
        Bench bench;
        bench.user.will_confirm(document_.parent_path());
        bench.frames.run(Direction::Import);
        QCOMPARE(bench.journal, (QStringList{"dialog", no_such_file}));
    }

    void conversionErrorShowsErrorBoxWithFullStop() {
        Bench bench;
        bench.conversions.failure = [] { throw enlazor::Error("'$Z' no es un valor entero válido"); };
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Export);
        QCOMPARE(bench.journal, (QStringList{"dialog", did("export", document_),
                                             "error: '$Z' no es un valor entero válido."}));
        QCOMPARE(bench.state.completion_flag, 0);
        QVERIFY2(!QApplication::overrideCursor(), "the hourglass stays after an error");
    }

    void failureOutsideTheCoreIsShownNotThrown() {
        Bench bench;
        bench.conversions.failure = [] { throw std::runtime_error("disco lleno"); };
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Import);
        QCOMPARE(bench.journal.last(), QStringLiteral("error: disco lleno."));
        QVERIFY(!QApplication::overrideCursor());
    }

    void fileGoneBeforeTheLoadIsReportedAsMissing() {
        Bench bench;
        bench.conversions.failure = [] { throw enlazor::MissingFile(); };
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Export);
        QCOMPARE(bench.journal.last(), no_such_file);
        QVERIFY(!QApplication::overrideCursor());
    }

    void windowWaitsAfterAnErrorAndTheNextRunWorks() {
        Bench bench;
        bench.conversions.failure = [] { throw enlazor::Error("Tabla bloqueada"); };
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Export);
        bench.conversions.failure = nullptr;
        bench.journal.clear();
        bench.frames.run(Direction::Export);
        QCOMPARE(bench.journal, (QStringList{"dialog", did("export", document_), finished}));
        QCOMPARE(bench.state.completion_flag, 1);
    }

    void hostedRunReportsAndClosesItsWindow_data() {
        QTest::addColumn<bool>("export_direction");
        QTest::addColumn<bool>("document_exists");
        QTest::addColumn<bool>("conversion_fails");
        QTest::addColumn<int>("flag");
        QTest::addColumn<bool>("closes");
        QTest::newRow("export finished") << true << true << false << 1 << true;
        QTest::newRow("import finished") << false << true << false << 1 << true;
        QTest::newRow("export without document") << true << false << false << -1 << true;
        QTest::newRow("import without document") << false << false << false << 0 << true;
        QTest::newRow("export stopped by error") << true << true << true << 0 << false;
        QTest::newRow("import stopped by error") << false << true << true << 0 << false;
    }

    void hostedRunReportsAndClosesItsWindow() {
        QFETCH(bool, export_direction);
        QFETCH(bool, document_exists);
        QFETCH(bool, conversion_fails);
        QFETCH(int, flag);
        QFETCH(bool, closes);
        Bench bench;
        bench.state.hosted_marker = 2;
        if (document_exists)
            bench.user.will_confirm(document_);
        if (conversion_fails)
            bench.conversions.failure = [] { throw enlazor::Error("Tabla bloqueada"); };
        bench.frames.run(export_direction ? Direction::Export : Direction::Import);
        QCOMPARE(bench.state.completion_flag, flag);
        QCOMPARE(bench.journal.last() == QStringLiteral("close"), closes);
        // The window closes only once the user has dismissed the message.
        if (closes)
            QVERIFY(bench.journal.at(bench.journal.size() - 2).startsWith(QStringLiteral("message: ")));
    }

    void normalModeNeverClosesTheWindow() {
        Bench bench;
        bench.user.will_confirm(document_);
        bench.frames.run(Direction::Export);
        bench.frames.run(Direction::Import);
        bench.user.will_confirm(document_.parent_path() / "no-esta.xml");
        bench.frames.run(Direction::Export);
        QVERIFY(!bench.journal.contains(QStringLiteral("close")));
        QCOMPARE(bench.state.completion_flag, 1);  // a missing file leaves it as it was
    }
};

QTEST_MAIN(DirectionFramesTest)
#include "direction_frames_test.moc"
