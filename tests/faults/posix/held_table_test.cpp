// A table that another program (Horalis, or a second copy of the window)
// holds exclusively while a direction runs: the direction stops with the
// table engine's error, the held table and the document are untouched, and
// once the table is free again the next run works.
#include "fault_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace faults {
namespace {

using ::testing::HasSubstr;

// Another process holding an exclusive lock on one file until destroyed.
class HeldElsewhere {
public:
    explicit HeldElsewhere(const fs::path& file) {
        int ready[2];
        if (::pipe(ready) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(file.c_str(), O_RDWR);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
            [[maybe_unused]] const ssize_t sent = ::write(ready[1], &locked, 1);
            while (true)
                ::pause();
        }
        ::close(ready[1]);
        char answer = 'n';
        locked_ = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }
    ~HeldElsewhere() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    HeldElsewhere(const HeldElsewhere&) = delete;
    HeldElsewhere& operator=(const HeldElsewhere&) = delete;
    bool locked() const { return locked_; }

private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

class HeldTable : public ::testing::TestWithParam<const char*> {
public:
    static std::string name_of(const ::testing::TestParamInfo<const char*>& info) {
        const std::string table = info.param;
        return table.substr(0, table.find('.'));
    }

protected:
    void SetUp() override {
        saga_ = dir_ / "saga.xml";
        exchange_ = dir_ / "HTEMP";
        fs::create_directory(exchange_);
        write_school_document(saga_, SchoolSize{});
        std::string failure;
        ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;
        document_ = read_file(saga_);
        tables_ = snapshot(exchange_);
    }

    void expect_busy(const Outcome& outcome, const fs::path& table) {
        EXPECT_EQ(outcome.exit_code, 1) << outcome.describe();
        EXPECT_FALSE(outcome.reported_done());
        EXPECT_THAT(outcome.err, HasSubstr("Table is busy."));
        EXPECT_THAT(outcome.err, HasSubstr(table.string()));
    }

    TempDir dir_;
    fs::path saga_, exchange_;
    std::string document_;
    std::vector<std::pair<std::string, std::string>> tables_;
};

class HeldDuringExport : public HeldTable {};
class HeldDuringImport : public HeldTable {};

TEST_P(HeldDuringExport, StopsItWithTheEnginesErrorAndLosesNothing) {
    const fs::path held = exchange_ / GetParam();
    const std::string held_bytes = read_file(held);
    {
        HeldElsewhere holder(held);
        ASSERT_TRUE(holder.locked());
        expect_busy(run_cli("export", saga_, exchange_), held);
        EXPECT_EQ(read_file(held), held_bytes) << "the held table must stay as its holder has it";
        EXPECT_EQ(read_file(saga_), document_);
    }
    const Outcome later = run_cli("export", saga_, exchange_);
    EXPECT_EQ(later.exit_code, 0) << later.describe();
}

TEST_P(HeldDuringImport, StopsItWithTheEnginesErrorAndLosesNothing) {
    const fs::path held = exchange_ / GetParam();
    {
        HeldElsewhere holder(held);
        ASSERT_TRUE(holder.locked());
        expect_busy(run_cli("import", saga_, exchange_), held);
        EXPECT_EQ(read_file(saga_), document_);
        EXPECT_EQ(snapshot(exchange_), tables_) << "the import never writes a table";
    }
    const Outcome later = run_cli("import", saga_, exchange_);
    EXPECT_EQ(later.exit_code, 0) << later.describe();
    EXPECT_NE(read_file(saga_), document_);
}

// Every table each direction opens.
INSTANTIATE_TEST_SUITE_P(EveryTable, HeldDuringExport,
                         ::testing::Values("ASIGNOMT.DBF", "PROFT.DBF", "AULAT.DBF", "GRUPOST.DBF", "ASIGT.DBF",
                                           "DIASHORAST.DBF"),
                         HeldTable::name_of);
INSTANTIATE_TEST_SUITE_P(EveryTable, HeldDuringImport,
                         ::testing::Values("ASIGNOMT.DBF", "PROFT.DBF", "AULAT.DBF", "GRUPOST.DBF",
                                           "DIASHORAST.DBF", "SOLUC.DBF"),
                         HeldTable::name_of);

} // namespace
} // namespace faults
