// Tables written by other dBase programs, with what they do differently:
// other version bytes, deleted records, no end marker, counts that do not
// match the data, headers with room to spare, lower-case file names.
#include "dbf_test_support.h"

#include <gtest/gtest.h>

namespace enlazor {
namespace {

using test::RawTable;
using test::TempDir;

// A solution table as the timetabler might write it.
RawTable solution_table() {
    RawTable raw;
    raw.fields = {{"CODGRUPO", 'C', 4}, {"DIA", 'N', 2, 0}, {"HORA", 'F', 5, 1},
                  {"FIJA", 'L', 1},     {"FECHA", 'D', 8}};
    raw.records = {test::raw_record({"1EA ", " 1", "  2.0", "T", "20240901"}),
                   test::raw_record({"2BB ", " 3", "  4.5", "F", "20240902"}),
                   test::raw_record({"3CC ", " 5", "  6.0", "?", "        "})};
    return raw;
}

class ForeignTables : public ::testing::Test {
protected:
    TempDir dir;
    DbfTable table{dir.path(), "SOLUC.DBF", OpenMode::Exclusive, '.', "wwTableSoluc"};

    std::vector<std::vector<Text8>> read(const RawTable& raw,
                                         const std::string& file = "SOLUC.DBF") {
        test::write_bytes(dir / file, raw.bytes());
        table.open();
        return test::all_texts(table);
    }
};

TEST_F(ForeignTables, EveryCommonFieldTypeReads) {
    const auto rows = read(solution_table());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<Text8>{"1EA", "1", "2", "T", "20240901"}));
    EXPECT_EQ(rows[1], (std::vector<Text8>{"2BB", "3", "4.5", "F", "20240902"}));
    EXPECT_EQ(rows[2], (std::vector<Text8>{"3CC", "5", "6", "?", ""}));
    const std::vector<FieldInfo>& fields = table.fields();
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[1].kind(), FieldType::Integer);
    EXPECT_EQ(fields[2].kind(), FieldType::Float);
    EXPECT_EQ(fields[3].kind(), FieldType::Text);
    EXPECT_EQ(fields[2].width, 5);
    EXPECT_EQ(fields[2].decimals, 1);
    table.first();
    table.next();
    EXPECT_EQ(table.floating("HORA"), 4.5);
    EXPECT_EQ(table.integer("HORA"), 4);  // ties to even
    EXPECT_EQ(table.integer("DIA"), 3);
}

TEST_F(ForeignTables, DeletedRecordsAreSkipped) {
    RawTable raw = solution_table();
    raw.records[0][0] = '*';
    raw.records[2][0] = '*';
    const auto rows = read(raw);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "2BB");
    EXPECT_EQ(table.record_count(), 1u);
}

TEST_F(ForeignTables, OnlyDeletedRecordsMakeAnEmptyTable) {
    RawTable raw = solution_table();
    for (std::string& record : raw.records)
        record[0] = '*';
    EXPECT_TRUE(read(raw).empty());
    table.first();
    EXPECT_TRUE(table.eof());
}

TEST_F(ForeignTables, AMissingEndMarkerIsTolerated) {
    RawTable raw = solution_table();
    raw.end_marker = false;
    EXPECT_EQ(read(raw).size(), 3u);
}

TEST_F(ForeignTables, ACountLargerThanTheDataStopsAtTheDataEnd) {
    RawTable raw = solution_table();
    raw.count = 1000000;
    EXPECT_EQ(read(raw).size(), 3u);
}

TEST_F(ForeignTables, APartialLastRecordIsNotARecord) {
    RawTable raw = solution_table();
    raw.end_marker = false;
    std::string bytes = raw.bytes();
    bytes.resize(bytes.size() - 5);
    test::write_bytes(dir / "SOLUC.DBF", bytes);
    table.open();
    EXPECT_EQ(test::all_texts(table).size(), 2u);
}

TEST_F(ForeignTables, ACountSmallerThanTheDataIsTheTable) {
    RawTable raw = solution_table();
    raw.count = 2;
    EXPECT_EQ(read(raw).size(), 2u);
}

TEST_F(ForeignTables, RecordsStartAtTheHeaderLength) {
    RawTable raw = solution_table();
    raw.header_padding = 263;  // Visual FoxPro's backlink area
    raw.version = 0x30;
    const auto rows = read(raw);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][0], "3CC");
}

TEST_F(ForeignTables, OtherVersionBytesRead) {
    for (unsigned char version : {0x83, 0x8B, 0xF5, 0x30, 0x04, 0x00}) {
        SCOPED_TRACE(static_cast<int>(version));
        RawTable raw = solution_table();
        raw.version = version;
        EXPECT_EQ(read(raw).size(), 3u);
        table.close();
    }
}

TEST_F(ForeignTables, TablesAreFoundWhateverTheCaseOfTheirFileName) {
    if (test::folds_case(dir.path()))
        GTEST_SKIP() << "names differing in case are one file here";
    const auto rows = read(solution_table(), "soluc.dbf");
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(table.file_path(), dir / "soluc.dbf");
}

TEST_F(ForeignTables, LongTextFieldsOfClipperRead) {
    RawTable raw;
    raw.fields = {{"MEMO", 'C', 44, 1}, {"N", 'N', 1}};  // 300 bytes: 44 + 1 * 256
    raw.records = {test::raw_record({std::string(299, 'x') + "y", "7"})};
    std::string bytes = raw.bytes();
    bytes[10] = static_cast<char>((1 + 300 + 1) & 0xFF);
    bytes[11] = static_cast<char>((1 + 300 + 1) >> 8);
    test::write_bytes(dir / "SOLUC.DBF", bytes);
    table.open();
    EXPECT_EQ(table.text("MEMO"), std::string(299, 'x') + "y");
    EXPECT_EQ(table.integer("N"), 7);
}

TEST_F(ForeignTables, AppendingToAForeignTableKeepsItReadable) {
    RawTable raw = solution_table();
    raw.count = 50;
    raw.end_marker = false;
    test::write_bytes(dir / "SOLUC.DBF", raw.bytes());
    DbfTable writer(dir.path(), "SOLUC.DBF", OpenMode::Shared, '.');
    writer.open();
    writer.append();
    writer.set_text("CODGRUPO", "4DD");
    writer.set_float("HORA", 7.5);
    writer.post();
    writer.close();

    const std::string bytes = test::read_file(dir / "SOLUC.DBF");
    EXPECT_EQ(test::byte_at(bytes, 0), 0x03u);  // the version byte stays
    EXPECT_EQ(test::u32_at(bytes, 4), 4u);      // the count is the real one now
    EXPECT_EQ(bytes.back(), '\x1A');
    table.open();
    const auto all = test::all_texts(table);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[3], (std::vector<Text8>{"4DD", "", "7.5", "", ""}));
}

} // namespace
} // namespace enlazor
