// "Proceso finalizado" and exit code 0 come only with every byte on disk:
// each table written and the document saved are flushed, and so are the
// directories whose entries changed, or a power cut right after the report
// could still lose the tables or the new document.
//
// The programs run with a small preloaded library that follows their writes
// and flushes (preload/sync_tracker.cpp) and lists what was left unflushed.
#include "fault_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sstream>

namespace faults {
namespace {

using ::testing::IsEmpty;

struct SyncReport {
    std::set<std::string> written, unsynced_files, unsynced_dirs;
};

class CompletionReport : public ::testing::Test {
protected:
    void SetUp() override {
        if (sanitized_build())
            GTEST_SKIP() << "the sanitizer runtime refuses to be preceded by a preloaded library";
        saga_ = dir_ / "saga.xml";
        exchange_ = dir_ / "HTEMP";
        fs::create_directory(exchange_);
        write_school_document(saga_, SchoolSize{});
    }

    // `argv` run with the tracker preloaded, and what it listed at exit.
    Outcome run_tracked(const std::vector<std::string>& argv, SyncReport& report) {
        const fs::path log = dir_ / "sync.log";
        fs::remove(log);
        Limits limits;
        limits.environment = {"LD_PRELOAD=" ENLAZOR_SYNC_TRACKER, "ENLAZOR_SYNC_LOG=" + log.string()};
        const Outcome outcome = argv.size() == 1 ? run_cli(argv[0], saga_, exchange_, limits) : run(argv, limits);
        std::istringstream lines(read_file(log));
        for (std::string kind, path; lines >> kind && std::getline(lines >> std::ws, path);) {
            if (kind == "written")
                report.written.insert(path);
            else if (kind == "unsynced-file")
                report.unsynced_files.insert(path);
            else if (kind == "unsynced-dir")
                report.unsynced_dirs.insert(path);
        }
        return outcome;
    }

    TempDir dir_;
    fs::path saga_, exchange_;
};

TEST_F(CompletionReport, AnExportIsReportedDoneOnlyWithEveryTableAndTheirDirectoryOnDisk) {
    // A first export leaves tables for the second to delete and re-create.
    ASSERT_EQ(run_cli("export", saga_, exchange_).exit_code, 0);

    SyncReport report;
    const Outcome outcome = run_tracked({"export"}, report);
    ASSERT_EQ(outcome.exit_code, 0) << outcome.describe();
    ASSERT_TRUE(outcome.reported_done());
    // DIASHORAST is created and never opened afterwards: it must be flushed
    // at its creation like the others at their close.
    for (const char* table : {"ASIGNOMT.DBF", "PROFT.DBF", "AULAT.DBF", "GRUPOST.DBF", "ASIGT.DBF", "DIASHORAST.DBF"})
        EXPECT_TRUE(report.written.count((exchange_ / table).string()))
            << table << " was not seen written: is the tracker preloaded?";
    EXPECT_THAT(report.unsynced_files, IsEmpty());
    EXPECT_THAT(report.unsynced_dirs, IsEmpty());
}

TEST_F(CompletionReport, AnImportIsReportedDoneOnlyWithTheDocumentAndItsFolderOnDisk) {
    std::string failure;
    ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;

    SyncReport report;
    const Outcome outcome = run_tracked({"import"}, report);
    ASSERT_EQ(outcome.exit_code, 0) << outcome.describe();
    ASSERT_TRUE(outcome.reported_done());
    EXPECT_TRUE(report.written.count(saga_.string())) << "the document was not seen written";
    EXPECT_THAT(report.unsynced_files, IsEmpty());
    EXPECT_THAT(report.unsynced_dirs, IsEmpty());
}

// The tracker itself: each way the C library offers to write to or rename a
// file is seen, and a way it cannot follow ends the program, so that a save
// moved onto another call cannot pass the tests above unchecked. Python's os
// module calls the C library's functions by their names.
TEST_F(CompletionReport, TheTrackerSeesEveryWriteAndRenameOrStopsTheProgram) {
    const fs::path folder = dir_ / "calls";
    fs::create_directory(folder);
    const std::string a = (folder / "a").string(), b = (folder / "b").string();
    // Two files written and flushed, their folder too; then the call.
    const std::string start = R"(
import ctypes, mmap, os, sys
a, b, folder = sys.argv[1:4]
def flushed(path):
    fd = os.open(path, os.O_CREAT | os.O_RDWR | os.O_TRUNC, 0o644)
    os.write(fd, b"x")
    os.fsync(fd)
    return fd
fd, other = flushed(a), flushed(b)
os.fsync(os.open(folder, os.O_RDONLY))
renameat2 = ctypes.CDLL(None, use_errno=True).renameat2
)";
    const struct {
        const char* name;
        const char* call;
        std::set<std::string> unsynced_files;
        bool folder_changed;
        bool stopped; // by SIGABRT, with the call named on standard error
    } cases[] = {
        {"writev", "os.writev(fd, [b'y', b'z'])", {a}, false, false},
        {"pwritev", "os.pwritev(fd, [b'y'], 0)", {a}, false, false},
        {"pwritev2", "os.pwritev(fd, [b'y'], 0, os.RWF_APPEND)", {a}, false, false},
        {"pwritev2 with RWF_DSYNC", "os.pwritev(fd, [b'y'], 0, os.RWF_DSYNC)", {}, false, false},
        {"copy_file_range", "os.copy_file_range(other, fd, 1, 0, 0)", {a}, false, false},
        {"sendfile", "os.sendfile(fd, other, 0, 1)", {a}, false, false},
        {"renameat2", "renameat2(-100, a.encode(), -100, b.encode(), 0)", {}, true, false},
        {"renameat2 exchanging",
         "os.write(fd, b'y'); renameat2(-100, a.encode(), -100, b.encode(), 2)",
         {b},
         true,
         false},
        {"a shared writable mapping", "mmap.mmap(fd, 1, mmap.MAP_SHARED, mmap.PROT_WRITE)", {}, false, true},
    };
    for (const auto& c : cases) {
        SyncReport report;
        const Outcome outcome =
            run_tracked({"/usr/bin/python3", "-I", "-B", "-c", start + c.call + "\n", a, b, folder.string()}, report);
        if (c.stopped) {
            EXPECT_TRUE(!outcome.exited && outcome.signal == SIGABRT) << c.name << ": " << outcome.describe();
            EXPECT_THAT(outcome.err, ::testing::MatchesRegex("(.|\n)*sync_tracker: mmap(64)? on " + a + "(.|\n)*"))
                << c.name;
            continue;
        }
        ASSERT_EQ(outcome.exit_code, 0) << c.name << ": " << outcome.describe();
        EXPECT_EQ(report.unsynced_files, c.unsynced_files) << c.name;
        EXPECT_EQ(report.unsynced_dirs.count(folder.string()), c.folder_changed ? 1u : 0u) << c.name;
        EXPECT_TRUE(report.written.count(a) && report.written.count(b)) << c.name;
    }
}

} // namespace
} // namespace faults
