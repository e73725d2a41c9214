// How each kind of field reads as text, integer and float, and the messages
// of the values that do not read.
#include "dbf_test_support.h"

#include <gtest/gtest.h>

namespace enlazor {
namespace {

using test::Expect;
using test::RawField;
using test::TempDir;
using test::no_float;
using test::no_int;

struct ReadCase {
    RawField field;
    std::string stored;  // the field's bytes, padded by the case itself
    Expect<Text8> text;
    Expect<std::int32_t> integer;
    Expect<double> floating;
};

const RawField kText{"T", 'C', 10};
const RawField kInteger{"I", 'N', 11, 0};
const RawField kFloat{"F", 'N', 20, 10};
const RawField kFoxFloat{"G", 'F', 12, 3};
const RawField kLogical{"L", 'L', 1};
const RawField kDate{"D", 'D', 8};

std::string padded(const std::string& text, int width, bool right = false) {
    const std::string fill(static_cast<std::size_t>(width) - text.size(), ' ');
    return right ? fill + text : text + fill;
}

class ReadRules : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRules, FieldReadsAsTextIntegerAndFloat) {
    const ReadCase& c = GetParam();
    TempDir dir;
    test::RawTable raw;
    raw.fields = {c.field};
    raw.records = {test::raw_record({c.stored})};
    test::write_bytes(dir / "T.DBF", raw.bytes());

    DbfTable table(dir.path(), "T.DBF", OpenMode::Exclusive, ',');
    table.open();
    ASSERT_FALSE(table.eof());
    test::check(c.text, [&] { return table.text(c.field.name); });
    test::check(c.integer, [&] { return table.integer(c.field.name); });
    test::check(c.floating, [&] { return table.floating(c.field.name); });
}

const ReadCase kReadCases[] = {
    // Text fields: the text without the blanks that fill it; numbers by the text rules.
    {kText, padded("12", 10), "12", 12, 12.0},
    {kText, padded("", 10), "", no_int(""), no_float("")},
    {kText, padded(" 12", 10), " 12", 12, 12.0},
    {kText, padded("2,5", 10), "2,5", no_int("2,5"), 2.5},
    {kText, padded("2.5", 10), "2.5", no_int("2.5"), no_float("2.5")},
    {kText, padded("$1A", 10), "$1A", 26, no_float("$1A")},
    {kText, padded("\xF1" "and\xFA", 10), "\xF1" "and\xFA", no_int("ñandú"), no_float("ñandú")},
    {kText, std::string("AB\0\0 \0\0\0\0\0", 10), "AB", no_int("AB"), no_float("AB")},
    // Integer fields: 0 and empty text when blank; stored numbers always use ".".
    {kInteger, padded("42", 11, true), "42", 42, 42.0},
    {kInteger, padded("", 11), "", 0, 0.0},
    {kInteger, std::string(11, '\0'), "", 0, 0.0},
    {kInteger, padded("-7", 11, true), "-7", -7, -7.0},
    {kInteger, padded("007", 11), "7", 7, 7.0},
    {kInteger, padded("+5", 11, true), "5", 5, 5.0},
    {kInteger, "-2147483648", "-2147483648", -2147483647 - 1, -2147483648.0},
    {kInteger, " 2147483648", "2147483648", no_int("2147483648"), 2147483648.0},
    {kInteger, padded("***", 11, true), no_int("***"), no_int("***"), no_int("***")},
    {kInteger, padded("nan", 11, true), no_int("nan"), no_int("nan"), no_int("nan")},
    {kInteger, padded("1 2", 11, true), no_int("1 2"), no_int("1 2"), no_int("1 2")},
    // Float fields: nearest integer with ties to even; text by float-to-text.
    {kFloat, padded("2.5000000000", 20, true), "2,5", 2, 2.5},
    {kFloat, padded("3.5000000000", 20, true), "3,5", 4, 3.5},
    {kFloat, padded("-2.5000000000", 20, true), "-2,5", -2, -2.5},
    {kFloat, padded("2.5000000001", 20, true), "2,5000000001", 3, 2.5000000001},
    {kFloat, padded("13.2000000000", 20, true), "13,2", 13, 13.2},
    {kFloat, padded("", 20), "", 0, 0.0},
    {kFloat, padded("1e+10", 20, true), "10000000000", no_int("1e+10"), 1e10},
    {kFloat, padded(".5", 20, true), "0,5", 0, 0.5},
    {kFloat, padded("garbage", 20), no_float("garbage"), no_float("garbage"), no_float("garbage")},
    {kFloat, padded("inf", 20, true), no_float("inf"), no_float("inf"), no_float("inf")},
    {kFloat, padded("2,5", 20, true), no_float("2,5"), no_float("2,5"), no_float("2,5")},
    {kFloat, padded("****", 20, true), no_float("****"), no_float("****"), no_float("****")},
    {kFoxFloat, padded("0.125", 12, true), "0,125", 0, 0.125},
    {kFoxFloat, padded("13.200", 12, true), "13,2", 13, 13.2},
    // Other types read as their stored characters.
    {kLogical, "T", "T", no_int("T"), no_float("T")},
    {kLogical, " ", "", no_int(""), no_float("")},
    {kDate, "20240131", "20240131", 20240131, 20240131.0},
};

INSTANTIATE_TEST_SUITE_P(EveryFieldKind, ReadRules, ::testing::ValuesIn(kReadCases));

class FieldLookup : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override {
        DbfTable maker(dir.path(), "SOLUC.DBF", OpenMode::Shared, '.');
        maker.add_field("DIA", FieldType::Integer);
        maker.add_field("CODGRUPO", FieldType::Text, 8);
        maker.create();
        maker.open();
        maker.append();
        maker.set_integer("dia", 3);
        maker.set_text("CodGrupo", "1EA");
        maker.post();
    }
};

TEST_F(FieldLookup, NamesMatchIgnoringCase) {
    DbfTable table(dir.path(), "SOLUC.DBF", OpenMode::Exclusive, '.');
    table.open();
    EXPECT_EQ(table.integer("Dia"), 3);
    EXPECT_EQ(table.text("codgrupo"), "1EA");
    EXPECT_EQ(table.field_index("CODGRUPO"), 1);
    EXPECT_EQ(table.text(table.field_index("dia")), "3");
}

TEST_F(FieldLookup, AMissingFieldIsNamedWithTheObjectWhenItHasOne) {
    DbfTable named(dir.path(), "SOLUC.DBF", OpenMode::Exclusive, '.', "wwTableSoluc");
    named.open();
    EXPECT_EQ(test::error_of([&] { named.text("HORA"); }),
              "wwTableSoluc: No se encuentra el campo 'HORA'");
    named.close();
    DbfTable unnamed(dir.path(), "SOLUC.DBF", OpenMode::Exclusive, '.');
    unnamed.open();
    EXPECT_EQ(test::error_of([&] { unnamed.floating("HORA"); }), "No se encuentra el campo 'HORA'");
    EXPECT_EQ(test::error_of([&] { unnamed.integer(2); }), "Field index out of range (2)");
    EXPECT_EQ(test::error_of([&] { unnamed.text(-1); }), "Field index out of range (-1)");
}

} // namespace
} // namespace enlazor
