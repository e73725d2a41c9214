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

    Outcome run_tracked(const std::string& direction, SyncReport& report) {
        const fs::path log = dir_ / "sync.log";
        Limits limits;
        limits.environment = {"LD_PRELOAD=" ENLAZOR_SYNC_TRACKER, "ENLAZOR_SYNC_LOG=" + log.string()};
        const Outcome outcome = run_cli(direction, saga_, exchange_, limits);
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
    const Outcome outcome = run_tracked("export", report);
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
    const Outcome outcome = run_tracked("import", report);
    ASSERT_EQ(outcome.exit_code, 0) << outcome.describe();
    ASSERT_TRUE(outcome.reported_done());
    EXPECT_TRUE(report.written.count(saga_.string())) << "the document was not seen written";
    EXPECT_THAT(report.unsynced_files, IsEmpty());
    EXPECT_THAT(report.unsynced_dirs, IsEmpty());
}

} // namespace
} // namespace faults
