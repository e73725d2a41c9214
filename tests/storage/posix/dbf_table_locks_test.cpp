// Exclusive and shared opens, between table objects of this process and
// against another process.
#include "dbf_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace enlazor {
namespace {

using test::TempDir;

class TableLocks : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override {
        DbfTable maker(dir.path(), "GRUPOST.DBF", OpenMode::Shared, '.');
        maker.add_field("ABREV", FieldType::Text, 4);
        maker.create();
        maker.open();
        maker.append();
        maker.set_text("ABREV", "1EA");
        maker.post();
    }

    std::string busy() const { return "Table is busy.\nTable: " + (dir / "GRUPOST.DBF").string(); }

    // Opens the table in another process: 0 when it opened, 1 when it was busy.
    int in_child(OpenMode mode) {
        const pid_t child = fork();
        if (child == 0) {
            int code = 0;
            try {
                DbfTable other(dir.path(), "GRUPOST.DBF", mode, '.');
                other.open();
            } catch (const Error& error) {
                code = std::string(error.what()) == busy() ? 1 : 2;
            }
            _exit(code);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

struct LockCase {
    OpenMode holder;
    OpenMode other;
    bool other_opens;
};

const LockCase kLockCases[] = {
    {OpenMode::Exclusive, OpenMode::Exclusive, false},
    {OpenMode::Exclusive, OpenMode::Shared, false},
    {OpenMode::Shared, OpenMode::Exclusive, false},
    {OpenMode::Shared, OpenMode::Shared, true},
};

TEST_F(TableLocks, TwoObjectsOfOneProcessConflictAsTwoProgramsWould) {
    for (const LockCase& c : kLockCases) {
        SCOPED_TRACE(static_cast<int>(c.holder) * 10 + static_cast<int>(c.other));
        DbfTable holder(dir.path(), "GRUPOST.DBF", c.holder, '.');
        DbfTable other(dir.path(), "GRUPOST.DBF", c.other, '.');
        holder.open();
        if (c.other_opens) {
            other.open();
            EXPECT_EQ(other.text("ABREV"), "1EA");
        } else {
            EXPECT_EQ(test::error_of([&] { other.open(); }), busy());
            EXPECT_FALSE(other.is_open());
        }
        other.close();
        holder.close();
        other.open();  // free again once the holder closed
        EXPECT_TRUE(other.is_open());
    }
}

TEST_F(TableLocks, AnotherProcessIsKeptOutAndKeepsUsOut) {
    for (const LockCase& c : kLockCases) {
        SCOPED_TRACE(static_cast<int>(c.holder) * 10 + static_cast<int>(c.other));
        DbfTable holder(dir.path(), "GRUPOST.DBF", c.holder, '.');
        holder.open();
        EXPECT_EQ(in_child(c.other), c.other_opens ? 0 : 1);
        holder.close();
        EXPECT_EQ(in_child(c.other), 0);
    }
}

TEST_F(TableLocks, ATableHeldByAnotherProcessCannotBeOpenedExclusively) {
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t child = fork();
    if (child == 0) {
        DbfTable other(dir.path(), "GRUPOST.DBF", OpenMode::Exclusive, '.');
        other.open();
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        (void)!read(done[0], &byte, 1);
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    DbfTable table(dir.path(), "GRUPOST.DBF", OpenMode::Shared, '.');
    EXPECT_EQ(test::error_of([&] { table.open(); }), busy());
    // Nor replaced or deleted under it.
    EXPECT_EQ(test::error_of([&] { table.add_field("X", FieldType::Integer); table.create(); }),
              busy());
    delete_file(dir / "GRUPOST.DBF");
    EXPECT_TRUE(file_exists(dir / "GRUPOST.DBF"));

    (void)!write(done[1], &byte, 1);
    int status = 0;
    waitpid(child, &status, 0);
    table.open();
    EXPECT_EQ(table.text("ABREV"), "1EA");
}

TEST_F(TableLocks, AHeldTableIsNeitherReplacedNorDeleted) {
    DbfTable holder(dir.path(), "GRUPOST.DBF", OpenMode::Exclusive, '.');
    holder.open();
    DbfTable builder(dir.path(), "GRUPOST.DBF", OpenMode::Shared, '.');
    builder.add_field("OTRO", FieldType::Integer);
    EXPECT_EQ(test::error_of([&] { builder.create(); }), busy());
    delete_file(dir / "grupost.dbf");
    EXPECT_TRUE(file_exists(dir / "GRUPOST.DBF"));
    holder.close();
    holder.open();
    EXPECT_EQ(holder.text("ABREV"), "1EA");
    holder.close();

    delete_file(dir / "grupost.dbf");  // free now: it goes, whatever the case given
    EXPECT_FALSE(file_exists(dir / "GRUPOST.DBF"));
}

TEST_F(TableLocks, AMissingTableIsReportedAsSuch) {
    DbfTable table(dir.path(), "PROFT.DBF", OpenMode::Exclusive, '.', "wwTableProfesor");
    EXPECT_EQ(test::error_of([&] { table.open(); }),
              "Table does not exist.\nTable: " + (dir / "PROFT.DBF").string());
    std::filesystem::create_directory(dir / "PROFT.DBF");
    EXPECT_EQ(test::error_of([&] { table.open(); }),
              "Table does not exist.\nTable: " + (dir / "PROFT.DBF").string());
    EXPECT_FALSE(table.is_open());
}

} // namespace
} // namespace enlazor
