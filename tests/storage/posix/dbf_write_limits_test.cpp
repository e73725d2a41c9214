// A write the disk refuses stops the table with the engine's message.
#include "dbf_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace enlazor {
namespace {

class TableWriteLimits : public ::testing::Test {
protected:
    test::TempDir dir;
    DbfTable table{dir.path(), "ASIGNOMT.DBF", OpenMode::Shared, ','};
};

TEST_F(TableWriteLimits, AFailedWriteIsReportedNotPassedOver) {
    // A file size limit stands in for a full disk; it is set in a child so
    // the test program itself is not limited.
    table.add_field("COD", FieldType::Text, 4);
    table.create();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        int outcome = 1;
        try {
            DbfTable writer(dir.path(), "ASIGNOMT.DBF", OpenMode::Shared, '.');
            writer.open();
            for (int i = 0; i < 1000; ++i) {
                writer.append();
                writer.post();
            }
            writer.close();
        } catch (const Error& error) {
            const std::string message = error.what();
            outcome = message.starts_with("Cannot write to table.\nTable: ") ? 0 : 2;
        }
        _exit(outcome);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace enlazor
