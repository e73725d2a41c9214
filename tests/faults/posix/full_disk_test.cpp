// A disk that fills up during the document's save or during the table
// writing: a clear error, the document intact, and never "Proceso
// finalizado". Two ways to fill a disk: a file-size limit (works anywhere),
// and a real, small tmpfs (where the machine lets a test mount one).
#include "fault_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace faults {
namespace {

using ::testing::HasSubstr;

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "centro");
        saga_ = dir_ / "centro" / "saga.xml";
        exchange_ = dir_ / "HTEMP";
        fs::create_directory(exchange_);
        SchoolSize size;
        size.padding_bytes = 1u << 20;
        write_school_document(saga_, size);
        document_ = read_file(saga_);
    }

    void expect_failed_cleanly(const Outcome& outcome, const std::string& what) {
        EXPECT_TRUE(outcome.exited) << what << ": " << outcome.describe();
        EXPECT_EQ(outcome.exit_code, 1) << what << ": " << outcome.describe();
        EXPECT_FALSE(outcome.reported_done()) << what;
        EXPECT_FALSE(outcome.err.empty()) << what;
    }

    TempDir dir_;
    fs::path saga_, exchange_;
    std::string document_;
};

TEST_F(FullDisk, TheImportsSaveBeyondTheFileSizeLimitLeavesTheDocumentAsItWas) {
    std::string failure;
    ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;
    document_ = read_file(saga_);
    const auto tables = snapshot(exchange_);

    for (const rlim_t limit : {rlim_t{0}, rlim_t{4096}, static_cast<rlim_t>(document_.size() / 2),
                               static_cast<rlim_t>(document_.size())}) {
        Limits limits;
        limits.file_size = limit;
        const Outcome outcome = run_cli("import", saga_, exchange_, limits);
        const std::string what = "limit " + std::to_string(limit);
        expect_failed_cleanly(outcome, what);
        EXPECT_THAT(outcome.err, HasSubstr("No se puede guardar el documento " + saga_.string())) << what;
        EXPECT_EQ(read_file(saga_), document_) << what;
        EXPECT_EQ(entries(dir_ / "centro"), std::vector<std::string>{"saga.xml"})
            << what << ": the half-written temporary file must go";
        EXPECT_EQ(snapshot(exchange_), tables) << what;
    }
    EXPECT_EQ(run_cli("import", saga_, exchange_).exit_code, 0) << "a later import works";
}

TEST_F(FullDisk, TheExportsTablesBeyondTheFileSizeLimitEndInAnErrorNotInSuccess) {
    // The complete tables, to learn their sizes and to compare a later run with.
    ASSERT_EQ(run_cli("export", saga_, exchange_).exit_code, 0);
    const auto complete = snapshot(exchange_);
    std::size_t largest = 0;
    for (const auto& [name, bytes] : complete)
        largest = std::max(largest, bytes.size());

    // Limits that stop the first table, a middle one, and only the largest.
    int runs = 0;
    for (const rlim_t limit : {rlim_t{64}, rlim_t{2048}, static_cast<rlim_t>(largest / 2),
                               static_cast<rlim_t>(largest - 1)}) {
        Limits limits;
        limits.file_size = limit;
        const Outcome outcome = run_cli("export", saga_, exchange_, limits);
        const std::string what = "limit " + std::to_string(limit);
        expect_failed_cleanly(outcome, what);
        EXPECT_THAT(outcome.err, HasSubstr("Table: " + exchange_.string())) << what;
        EXPECT_EQ(read_file(saga_), document_) << what;
        ++runs;
    }
    EXPECT_EQ(runs, 4);

    // Room again: the next export rebuilds every table whole.
    ASSERT_EQ(run_cli("export", saga_, exchange_).exit_code, 0);
    const auto again = snapshot(exchange_);
    ASSERT_EQ(again.size(), complete.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].first, complete[i].first);
        // Bytes 1 to 3 hold the date of the last update.
        EXPECT_EQ(again[i].second.substr(4), complete[i].second.substr(4)) << again[i].first;
    }
}

TEST_F(FullDisk, TheImportsSaveOnAFullDiskLeavesTheDocumentAsItWas) {
    std::string failure;
    ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;
    document_ = read_file(saga_);

    // The document's folder on a disk with room for the document and not
    // for a second copy of it.
    const fs::path disk = dir_ / "disco";
    fs::create_directory(disk);
    const std::optional<Outcome> outcome =
        run_on_own_disk(cli_command("import", disk / "saga.xml", exchange_), disk,
                        document_.size() + document_.size() / 2, false, dir_ / "centro", dir_.path());
    if (!outcome)
        GTEST_SKIP() << "this machine does not let a test mount a small disk";
    expect_failed_cleanly(*outcome, "full disk");
    EXPECT_THAT(outcome->err, HasSubstr("No se puede guardar el documento"));
    EXPECT_THAT(outcome->err, HasSubstr("No space left on device"));
    EXPECT_EQ(read_file(dir_ / "centro" / "saga.xml"), document_);
    EXPECT_EQ(entries(dir_ / "centro"), std::vector<std::string>{"saga.xml"});
}

TEST_F(FullDisk, TheExportOnAFullDiskEndsInTheEnginesErrorNotInSuccess) {
    // The exchange directory on a disk too small for the tables, which start
    // out as a previous export left them.
    ASSERT_EQ(run_cli("export", saga_, exchange_).exit_code, 0);
    std::size_t total = 0;
    for (const auto& [name, bytes] : snapshot(exchange_))
        total += bytes.size();
    const fs::path disk = dir_ / "disco";
    fs::create_directory(disk);
    for (const auto& [name, bytes] : snapshot(exchange_))
        if (name != "ASIGT.DBF")  // leave room for the others
            fs::remove(exchange_ / name);

    const std::optional<Outcome> outcome =
        run_on_own_disk(cli_command("export", saga_, disk), disk, total * 3 / 4, false, exchange_, dir_.path());
    if (!outcome)
        GTEST_SKIP() << "this machine does not let a test mount a small disk";
    expect_failed_cleanly(*outcome, "full disk");
    EXPECT_THAT(outcome->err, HasSubstr("Insufficient disk space."));
    EXPECT_EQ(read_file(saga_), document_);
}

} // namespace
} // namespace faults
