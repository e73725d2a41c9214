// Files of the exchange directory found, tested and deleted whatever the
// case of their names.
#include "dbf_test_support.h"

#include <gtest/gtest.h>

namespace enlazor {
namespace {

using test::TempDir;

TEST(ExchangeFiles, FileTestIsTrueForFilesOnly) {
    TempDir dir;
    test::write_bytes(dir / "ASIGT.DBF", "x");
    std::filesystem::create_directory(dir / "SAGA");
    EXPECT_TRUE(file_exists(dir / "ASIGT.DBF"));
    EXPECT_FALSE(file_exists(dir / "asigt.dbf"));  // names as given; finding folds case
    EXPECT_FALSE(file_exists(dir / "SAGA"));
    EXPECT_FALSE(file_exists(dir / "ASIGT.MDX"));
    EXPECT_FALSE(file_exists(dir / "missing" / "ASIGT.DBF"));
}

TEST(ExchangeFiles, FindingPrefersTheExactNameAndElseAnyCase) {
    TempDir dir;
    EXPECT_EQ(find_file_ignoring_case(dir.path(), "SOLUC.DBF"), dir / "SOLUC.DBF");
    test::write_bytes(dir / "soluc.dbf", "x");
    EXPECT_EQ(find_file_ignoring_case(dir.path(), "SOLUC.DBF"), dir / "soluc.dbf");
    test::write_bytes(dir / "SOLUC.DBF", "x");
    EXPECT_EQ(find_file_ignoring_case(dir.path(), "SOLUC.DBF"), dir / "SOLUC.DBF");
    // Only ASCII letters fold: this is another name.
    EXPECT_EQ(find_file_ignoring_case(dir.path(), "S\xD3LUC.DBF"), dir / "S\xD3LUC.DBF");
    EXPECT_EQ(find_file_ignoring_case(dir / "missing", "SOLUC.DBF"), dir / "missing" / "SOLUC.DBF");
}

TEST(ExchangeFiles, DeletingRemovesEveryCaseVariantAndReportsNothing) {
    TempDir dir;
    test::write_bytes(dir / "PROFT.MDX", "x");
    test::write_bytes(dir / "proft.mdx", "x");
    test::write_bytes(dir / "PROFT.DBF", "x");
    std::filesystem::create_directory(dir / "Proft.Mdx.d");
    delete_file(dir / "PROFT.MDX");
    EXPECT_FALSE(file_exists(dir / "PROFT.MDX"));
    EXPECT_FALSE(file_exists(dir / "proft.mdx"));
    EXPECT_TRUE(file_exists(dir / "PROFT.DBF"));
    delete_file(dir / "PROFT.MDX");        // nothing there: no error
    delete_file(dir / "missing" / "X");    // no folder: no error
    delete_file(dir / "Proft.Mdx.d");      // a folder stays
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Proft.Mdx.d"));
}

} // namespace
} // namespace enlazor
