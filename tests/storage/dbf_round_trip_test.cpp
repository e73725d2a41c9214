// Tables written by the table layer and read back: the file's bytes, the
// values, and the life of a table object (create, open, append, close).
#include "dbf_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace enlazor {
namespace {

using test::TempDir;
using ::testing::StartsWith;

// The layout the export gives its subject table, plus a number of each kind.
void define_subjects(DbfTable& table) {
    table.clear_fields();
    table.add_field("COD", FieldType::Text, 4);
    table.add_field("NOMBRE", FieldType::Text, 40);
    table.add_field("DNI", FieldType::Integer);
    table.add_field("HORAS", FieldType::Float);
}

class TableRoundTrip : public ::testing::Test {
protected:
    TempDir dir;
    DbfTable table{dir.path(), "ASIGNOMT.DBF", OpenMode::Shared, ','};

    void create_and_open() {
        define_subjects(table);
        table.create();
        table.open();
    }
};

TEST_F(TableRoundTrip, NewTableHasTheDbaseHeaderOtherProgramsRead) {
    define_subjects(table);
    table.create();
    EXPECT_FALSE(table.is_open());
    const std::string bytes = test::read_file(dir / "ASIGNOMT.DBF");
    ASSERT_EQ(bytes.size(), 32u + 4 * 32 + 1 + 1);
    EXPECT_EQ(test::byte_at(bytes, 0), 0x03u);
    EXPECT_GE(test::byte_at(bytes, 1), 120u);  // year - 1900
    EXPECT_GE(test::byte_at(bytes, 2), 1u);
    EXPECT_LE(test::byte_at(bytes, 2), 12u);
    EXPECT_EQ(test::u32_at(bytes, 4), 0u);
    EXPECT_EQ(test::u16_at(bytes, 8), 32u + 4 * 32 + 1);
    EXPECT_EQ(test::u16_at(bytes, 10), 1u + 4 + 40 + 11 + 20);
    EXPECT_EQ(test::byte_at(bytes, 29), 0x03u);  // Windows-1252

    struct Descriptor { const char* name; char type; unsigned width, decimals; };
    const Descriptor expected[] = {
        {"COD", 'C', 4, 0}, {"NOMBRE", 'C', 40, 0}, {"DNI", 'N', 11, 0}, {"HORAS", 'N', 20, 10}};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string descriptor = bytes.substr(32 + 32 * i, 32);
        std::string name(expected[i].name);
        name.resize(11, '\0');
        EXPECT_EQ(descriptor.substr(0, 11), name);
        EXPECT_EQ(descriptor[11], expected[i].type);
        EXPECT_EQ(test::byte_at(descriptor, 16), expected[i].width);
        EXPECT_EQ(test::byte_at(descriptor, 17), expected[i].decimals);
    }
    EXPECT_EQ(bytes[32 + 4 * 32], '\x0D');
    EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(TableRoundTrip, RecordsAreStoredPaddedWithFlagCountAndEndMarker) {
    create_and_open();
    table.append();
    table.set_text("COD", "A1");
    table.set_integer("DNI", -42);
    table.set_float("HORAS", 2.5);
    table.post();
    table.append();
    table.post();
    table.close();

    const std::string bytes = test::read_file(dir / "ASIGNOMT.DBF");
    const std::size_t header = 32 + 4 * 32 + 1, length = 76;
    ASSERT_EQ(bytes.size(), header + 2 * length + 1);
    EXPECT_EQ(test::u32_at(bytes, 4), 2u);
    EXPECT_EQ(bytes.substr(header, length),
              " A1  " + std::string(40, ' ') + "        -42" + "        2.5000000000");
    // A record whose fields were never set is blank, never "*" or 0.
    EXPECT_EQ(bytes.substr(header + length, length), std::string(length, ' '));
    EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(TableRoundTrip, ValuesReadBackAsWritten) {
    create_and_open();
    table.append();
    table.set_text("COD", "A101");
    table.set_text("NOMBRE", "Educaci\xF3n f\xEDsica y \xD1" "and\xFA");  // 1252 bytes
    table.set_integer("DNI", 2147483647);
    table.set_float("HORAS", 13.2);
    table.post();
    table.close();

    table.open();
    ASSERT_FALSE(table.eof());
    EXPECT_EQ(table.text("COD"), "A101");
    EXPECT_EQ(table.text("NOMBRE"), "Educaci\xF3n f\xEDsica y \xD1" "and\xFA");
    EXPECT_EQ(table.integer("DNI"), 2147483647);
    EXPECT_EQ(table.floating("HORAS"), 13.2);
    EXPECT_EQ(table.text("HORAS"), "13,2");
}

TEST_F(TableRoundTrip, TextsAreCutToTheFieldSizeInBytesNeverRejected) {
    create_and_open();
    table.append();
    table.set_text("COD", "ABCDEFG");
    table.set_text("NOMBRE", std::string(45, '\xE9'));
    table.post();
    EXPECT_EQ(table.text("COD"), "ABCD");
    EXPECT_EQ(table.text("NOMBRE"), std::string(40, '\xE9'));
}

TEST_F(TableRoundTrip, TextKeepsLeadingBlanksAndDropsTrailingOnes) {
    create_and_open();
    table.append();
    table.set_text("NOMBRE", "  Aula 12   ");
    table.post();
    EXPECT_EQ(table.text("NOMBRE"), "  Aula 12");
}

TEST_F(TableRoundTrip, FieldsNeverSetReadAsEmpty) {
    create_and_open();
    table.append();
    table.post();
    EXPECT_EQ(table.text("COD"), "");
    EXPECT_EQ(table.text("DNI"), "");
    EXPECT_EQ(table.integer("DNI"), 0);
    EXPECT_EQ(table.floating("DNI"), 0.0);
    EXPECT_EQ(table.text("HORAS"), "");
    EXPECT_EQ(table.floating("HORAS"), 0.0);
    EXPECT_EQ(table.integer("HORAS"), 0);
}

TEST_F(TableRoundTrip, FloatsReadBackEqualThroughTheFile) {
    const double values[] = {2.5, 13.2, 2.0001, 0.5, 4.0, -7.25, 0.0001, 1e-10,
                             123456789.125, 9999999999.5};
    create_and_open();
    for (double value : values) {
        table.append();
        table.set_float("HORAS", value);
        table.post();
    }
    table.close();
    table.open();
    for (double value : values) {
        SCOPED_TRACE(value);
        ASSERT_FALSE(table.eof());
        EXPECT_EQ(table.floating("HORAS"), value);
        table.next();
    }
}

TEST_F(TableRoundTrip, FloatsBeyondTheFixedFormUseTheShortestExactForm) {
    const double values[] = {1e15, 123456789012.5, -98765432109.25, 1.5e30, -1.5e21};
    create_and_open();
    for (double value : values) {
        SCOPED_TRACE(value);
        table.append();
        table.set_float("HORAS", value);
        EXPECT_EQ(table.floating("HORAS"), value);
        table.post();
    }
}

TEST_F(TableRoundTrip, AFloatReadsBackAsTheFileStoresItBeforePost) {
    create_and_open();
    table.append();
    table.set_float("HORAS", 0.1 + 0.2);  // 0.30000000000000004
    EXPECT_EQ(table.floating("HORAS"), 0.3);  // ten decimals kept
    table.set_float("HORAS", -2.5e-300);  // below the tenth decimal
    EXPECT_EQ(table.floating("HORAS"), 0.0);
    EXPECT_EQ(table.text("HORAS"), "0");
    table.set_float("HORAS", 2.5);
    EXPECT_EQ(table.floating("HORAS"), 2.5);
    EXPECT_EQ(table.text("COD"), "");
    table.post();
}

TEST_F(TableRoundTrip, ValuesThatCannotBeStoredAreRefused) {
    create_and_open();
    table.append();
    EXPECT_THAT(test::error_of([&] { table.set_float("HORAS", 1.0 / 0.0); }),
                StartsWith("Field value out of range.\nField: HORAS\nTable: "));
    EXPECT_NE(test::error_of([&] { table.set_float("DNI", 3e9); }), "");
    EXPECT_NE(test::error_of([&] { table.set_float("HORAS", 1.2345678901234567e25); }), "");
    table.post();
    EXPECT_EQ(table.text("HORAS"), "");  // the refused values left nothing behind
    EXPECT_EQ(table.text("DNI"), "");
}

TEST_F(TableRoundTrip, NumbersAssignedAsTextFollowTheirField) {
    create_and_open();
    table.append();
    table.set_text("DNI", "123");
    table.set_text("HORAS", "2,5");
    EXPECT_EQ(table.integer("DNI"), 123);
    EXPECT_EQ(table.floating("HORAS"), 2.5);
    EXPECT_EQ(test::error_of([&] { table.set_text("HORAS", "2.5"); }),
              "'2.5' no es un valor punto flotante válido");
    EXPECT_EQ(test::error_of([&] { table.set_text("DNI", "x"); }),
              "'x' no es un valor entero válido");
    table.set_text("HORAS", "");
    EXPECT_EQ(table.text("HORAS"), "");
    table.set_integer("COD", 77);
    table.set_float("NOMBRE", 2.5);
    EXPECT_EQ(table.text("COD"), "77");
    EXPECT_EQ(table.text("NOMBRE"), "2,5");
    table.post();
}

TEST_F(TableRoundTrip, PostedRecordsAreVisitedInPostingOrder) {
    create_and_open();
    for (const char* code : {"C", "A", "B"}) {
        table.append();
        table.set_text("COD", code);
        table.post();
    }
    EXPECT_EQ(table.record_count(), 3u);
    EXPECT_EQ(test::all_texts(table).size(), 3u);
    std::string order;
    for (table.first(); !table.eof(); table.next())
        order += table.text("COD");
    EXPECT_EQ(order, "CAB");
    table.close();
    table.open();
    order.clear();
    for (table.first(); !table.eof(); table.next())
        order += table.text("COD");
    EXPECT_EQ(order, "CAB");
}

TEST_F(TableRoundTrip, EndTestHoldsAtOnceOnAnEmptyTableAndAfterTheLastRecord) {
    create_and_open();
    EXPECT_TRUE(table.eof());
    table.first();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.text("COD"), "");
    table.append();
    table.set_text("COD", "ONE");
    table.post();
    table.first();
    EXPECT_FALSE(table.eof());
    table.next();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.text("COD"), "ONE");  // the last record stays current
    table.next();
    EXPECT_TRUE(table.eof());
}

TEST_F(TableRoundTrip, AnUnpostedRecordIsNotStored) {
    create_and_open();
    table.append();
    table.set_text("COD", "KEEP");
    table.post();
    table.append();
    table.set_text("COD", "LOST");
    table.close();
    table.open();
    EXPECT_EQ(test::all_texts(table).size(), 1u);
}

TEST_F(TableRoundTrip, MovingAwayFromAnAppendedRecordPostsItWhenSet) {
    create_and_open();
    table.append();
    table.set_text("COD", "A");
    table.append();  // posts A
    table.append();  // nothing set: dropped
    table.set_text("COD", "B");
    table.first();   // posts B
    std::string order;
    for (; !table.eof(); table.next())
        order += table.text("COD");
    EXPECT_EQ(order, "AB");
}

TEST_F(TableRoundTrip, RecordsAssembledFromPreparedOnesStoreWhatTheirPartsHeld) {
    create_and_open();
    table.append();
    table.set_text("COD", "MAT");
    table.set_text("NOMBRE", to_8bit_from_utf8("Matemáticas"));
    const std::string subject(table.record_bytes());
    table.cancel();  // a prepared part is never stored
    table.append();
    table.set_float("HORAS", 2.5);
    const std::string hours(table.record_bytes());
    table.cancel();

    table.append_from(subject);
    table.copy_field(table.field_index("HORAS"), hours);
    table.post();
    table.append_from(hours);  // the other way round: one field from `subject`
    table.copy_field(table.field_index("COD"), subject);
    table.post();
    table.close();
    table.open();
    const std::vector<std::string> expected[] = {{"MAT", "Matemáticas", "2.5"}, {"MAT", "", "2.5"}};
    std::size_t row = 0;
    for (; !table.eof(); table.next(), ++row) {
        ASSERT_LT(row, std::size(expected));
        EXPECT_EQ(table.text("COD"), expected[row][0]);
        EXPECT_EQ(utf8_from_8bit(table.text("NOMBRE")), expected[row][1]);
        EXPECT_EQ(table.floating("HORAS"), std::stod(expected[row][2]));
        EXPECT_EQ(table.text("DNI"), "");
    }
    EXPECT_EQ(row, 2u);

    // Bytes of another layout are refused, not stored cut or padded.
    table.append();
    EXPECT_THAT(test::error_of([&] { table.append_from(subject + " "); }),
                StartsWith("Record size does not match the table."));
    EXPECT_NE(test::error_of([&] { table.copy_field(0, subject.substr(1)); }), "");
}

TEST_F(TableRoundTrip, DestructionWritesThePostedRecords) {
    define_subjects(table);
    table.create();
    {
        DbfTable builder(dir.path(), "ASIGNOMT.DBF", OpenMode::Shared, '.');
        builder.open();
        for (int i = 0; i < 3; ++i) {
            builder.append();
            builder.set_integer("DNI", i);
            builder.post();
        }
    }  // as when an error ends a builder
    table.open();
    EXPECT_EQ(table.record_count(), 3u);
    EXPECT_EQ(test::u32_at(test::read_file(dir / "ASIGNOMT.DBF"), 4), 3u);
}

TEST_F(TableRoundTrip, ManyRecordsSurviveTheBlockWrites) {
    create_and_open();
    const int count = 30000;  // over 2 MB of records
    for (int i = 0; i < count; ++i) {
        table.append();
        table.set_integer("DNI", i);
        table.set_text("NOMBRE", "Nombre " + std::to_string(i));
        table.post();
    }
    table.close();
    EXPECT_EQ(std::filesystem::file_size(dir / "ASIGNOMT.DBF"), 32u + 4 * 32 + 1 + 76u * count + 1);
    table.open();
    int expected = 0;
    for (table.first(); !table.eof(); table.next(), ++expected)
        ASSERT_EQ(table.integer("DNI"), expected);
    EXPECT_EQ(expected, count);
}

TEST_F(TableRoundTrip, AppendingToAnExistingTableKeepsItsRecords) {
    create_and_open();
    table.append();
    table.set_text("COD", "OLD");
    table.post();
    table.close();
    table.open();
    table.append();
    table.set_text("COD", "NEW");
    table.post();
    table.close();
    table.open();
    std::string order;
    for (table.first(); !table.eof(); table.next())
        order += table.text("COD") + ";";
    EXPECT_EQ(order, "OLD;NEW;");
}

TEST_F(TableRoundTrip, CreateReplacesEveryCaseVariantOfTheTable) {
    if (test::folds_case(dir.path()))
        GTEST_SKIP() << "names differing in case are one file here";
    test::write_bytes(dir / "asignomt.dbf", "old");
    test::write_bytes(dir / "AsigNomT.Dbf", "old");
    define_subjects(table);
    table.create();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"ASIGNOMT.DBF"});
    table.open();
    EXPECT_EQ(table.fields().size(), 4u);
    EXPECT_TRUE(table.eof());
}

TEST_F(TableRoundTrip, CreateEmptiesATableThatHadRecords) {
    create_and_open();
    table.append();
    table.post();
    table.create();  // closes it first
    EXPECT_FALSE(table.is_open());
    table.open();
    EXPECT_EQ(table.record_count(), 0u);
}

TEST_F(TableRoundTrip, OpeningAnOpenTableOrClosingAClosedOneChangesNothing) {
    create_and_open();
    table.append();
    table.set_text("COD", "X");
    table.post();
    table.open();  // keeps the position and the posted record
    EXPECT_TRUE(table.is_open());
    EXPECT_EQ(table.text("COD"), "X");
    table.close();
    table.close();
    EXPECT_FALSE(table.is_open());
    table.open();
    EXPECT_EQ(table.record_count(), 1u);
}

TEST_F(TableRoundTrip, OnlyReadingLeavesTheFileUntouched) {
    create_and_open();
    table.append();
    table.post();
    table.close();
    const std::string before = test::read_file(dir / "ASIGNOMT.DBF");
    const auto time = std::filesystem::last_write_time(dir / "ASIGNOMT.DBF");
    table.open();
    test::all_texts(table);
    table.close();
    EXPECT_EQ(test::read_file(dir / "ASIGNOMT.DBF"), before);
    EXPECT_EQ(std::filesystem::last_write_time(dir / "ASIGNOMT.DBF"), time);
}

TEST_F(TableRoundTrip, FieldDefinitionsAreChecked) {
    EXPECT_EQ(test::error_of([&] { table.add_field("NOMBRELARGO", FieldType::Text, 4); }),
              "Invalid field name.\nField: NOMBRELARGO");
    EXPECT_NE(test::error_of([&] { table.add_field("", FieldType::Text, 4); }), "");
    EXPECT_NE(test::error_of([&] { table.add_field("1A", FieldType::Text, 4); }), "");
    EXPECT_EQ(test::error_of([&] { table.add_field("COD", FieldType::Text, 0); }),
              "Invalid field size.\nField: COD");
    EXPECT_NE(test::error_of([&] { table.add_field("COD", FieldType::Text, 255); }), "");
    table.add_field("COD", FieldType::Text, 4);
    EXPECT_EQ(test::error_of([&] { table.add_field("cod", FieldType::Integer); }),
              "Duplicate field name.\nField: cod");
    table.clear_fields();
    EXPECT_NE(test::error_of([&] { table.create(); }), "");
}

TEST_F(TableRoundTrip, WritingNeedsAnOpenTableAndAnAppendedRecord) {
    define_subjects(table);
    table.create();
    EXPECT_THAT(test::error_of([&] { table.append(); }),
                StartsWith("Cannot perform this operation on a closed table.\nTable: "));
    EXPECT_NE(test::error_of([&] { table.text("COD"); }), "");
    table.open();
    EXPECT_NE(test::error_of([&] { table.set_text("COD", "X"); }), "");
    EXPECT_NE(test::error_of([&] { table.post(); }), "");
    EXPECT_EQ(table.record_count(), 0u);
}

} // namespace
} // namespace enlazor
