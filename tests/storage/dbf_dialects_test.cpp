// Tables in every dialect of the dBase engine and of FoxPro: each level's
// header layout, the binary field types as each level stores them, and the
// language drivers whose text reaches the program in the system code page.
#include "dbf_test_support.h"
#include "support/dbase_dialects.h"

#include <gtest/gtest.h>

namespace enlazor {
namespace {

using test::Expect;
using test::TempDir;
using test::no_float;
using test::no_int;
using namespace test_support;

// dBase 7's field properties: whatever they hold, the header length covers them.
const std::string kFieldProperties = std::string("\x02\x00\x0D\x00", 4) + std::string(40, '\x07');

struct TypeCase {
    const char* what;
    unsigned char version;
    const char* name;  // of the one field
    char type;
    int width;
    int decimals;
    std::string stored;
    Expect<Text8> text;
    Expect<std::int32_t> integer;
    Expect<double> floating;
};

// Made at run time: as a static table of this size GCC for Windows warns of
// strings it thinks uninitialized.
std::vector<TypeCase> type_cases() {
    return {
        {"dBase 7 long, by its long name", 0x04, "SESIONES_SEMANALES_DEL_GRUPO", 'I', 4, 0,
         dbase7_integer(42), "42", 42, 42.0},
        {"dBase 7 negative long", 0x04, "N", 'I', 4, 0, dbase7_integer(-7), "-7", -7, -7.0},
        {"dBase 7 long never set", 0x04, "N", 'I', 4, 0, std::string(4, '\0'), "", 0, 0.0},
        {"dBase 7 autoincrement", 0x8C, "ID", '+', 4, 0, dbase7_integer(1000), "1000", 1000, 1000.0},
        {"dBase 7 double", 0x04, "HORA", 'O', 8, 0, dbase7_double(2.5), "2,5", 2, 2.5},
        {"dBase 7 negative double", 0x04, "HORA", 'O', 8, 0, dbase7_double(-13.25), "-13,25", -13, -13.25},
        {"dBase 7 double beyond 32 bits", 0x04, "HORA", 'O', 8, 0, dbase7_double(1e12),
         "1000000000000", no_int("1000000000000"), 1e12},
        {"dBase 7 timestamp", 0x04, "CUANDO", '@', 8, 0, dbase7_timestamp(2024, 9, 1, 8, 30, 15),
         "2024-09-01 08:30:15", no_int("2024-09-01 08:30:15"), no_float("2024-09-01 08:30:15")},
        {"Visual FoxPro integer", 0x30, "DIA", 'I', 4, 0, foxpro_integer(-42), "-42", -42, -42.0},
        {"Visual FoxPro double", 0x31, "HORA", 'B', 8, 2, foxpro_double(3.75), "3,75", 4, 3.75},
        {"Visual FoxPro currency", 0x30, "PRECIO", 'Y', 8, 4, foxpro_currency(123456), "12,3456", 12,
         12.3456},
        {"Visual FoxPro date-time", 0x30, "CUANDO", 'T', 8, 0, foxpro_date_time(2000, 1, 1, 23, 59, 59),
         "2000-01-01 23:59:59", no_int("2000-01-01 23:59:59"), no_float("2000-01-01 23:59:59")},
        {"Visual FoxPro date-time never set", 0x30, "CUANDO", 'T', 8, 0, std::string(8, '\0'), "",
         no_int(""), no_float("")},
        {"Visual FoxPro memo reference", 0x30, "NOTA", 'M', 4, 0, foxpro_integer(17), "17", 17, 17.0},
        {"dBase IV memo reference", 0x8B, "NOTA", 'M', 10, 0, "        12", "12", 12, 12.0},
        {"dBase IV memo never written", 0x8B, "NOTA", 'M', 10, 0, "", "", 0, 0.0},
        {"dBase binary memo reference", 0x8B, "FOTO", 'B', 10, 0, "         5", "5", 5, 5.0},
        {"dBase III+ long, little-endian", 0x03, "N", 'I', 4, 0, foxpro_integer(300), "300", 300, 300.0},
        {"a binary type of another width is read as characters", 0x04, "N", 'I', 5, 0, "  123",
         "  123", 123, 123.0},
        {"FoxPro 2 float", 0xF5, "F", 'F', 8, 2, "2.50", "2,5", 2, 2.5},
    };
}

TEST(DialectFieldTypes, ReadAsTheEngineShowsThemToTheProgram) {
    TempDir dir;
    for (const TypeCase& c : type_cases()) {
        SCOPED_TRACE(c.what);
        DialectTable raw(c.version, 0x57);
        if (raw.level7())
            raw.after_terminator = kFieldProperties;
        raw.fields = {{c.name, c.type, c.width, c.decimals}};
        raw.records = {{c.stored}};
        test::write_bytes(dir / "T.DBF", raw.bytes());
        DbfTable table(dir.path(), "T.DBF", OpenMode::Shared, ',');
        table.open();
        ASSERT_FALSE(table.eof());
        std::string lower_name = c.name;
        for (char& ch : lower_name)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        test::check(c.text, [&] { return table.text(lower_name); });
        test::check(c.integer, [&] { return table.integer(lower_name); });
        test::check(c.floating, [&] { return table.floating(lower_name); });
        // From memory, through the same reading.
        DbfTable in_memory(dir.path(), "T.DBF", OpenMode::Shared, ',');
        in_memory.open_from_memory(raw.bytes());
        test::check(c.text, [&] { return in_memory.text(lower_name); });
        test::check(c.floating, [&] { return in_memory.floating(lower_name); });
    }
}

struct DriverCase {
    const char* what;
    DialectTable shape;  // level and driver
    std::string stored;  // a day's name in the driver's code page
    Text8 read;          // as the program reads it, in Windows-1252
    WideText decoded;    // as stored
    std::string level;
    unsigned code_page;
    bool converted;
};

const DriverCase kDriverCases[] = {
    {"dBase III+, Windows ANSI", {0x03, 0x03}, "Mi\xE9rcoles",
     "Mi\xE9rcoles", u"Miércoles", "dBase III+/IV/5", 1252, false},
    {"dBase IV with memo and index, DOS 850",
     {0x8B, 0x02, {}, true}, "Mi\x82rcoles",
     "Mi\xE9rcoles", u"Miércoles", "dBase IV con memo, con índice de producción", 850, true},
    {"dBase III+ with memo, DOS 437", {0x83, 0x01}, "S\xA0" "bado",
     "S\xE1" "bado", u"Sábado", "dBase III+ con memo", 437, true},
    {"dBase 7 named DB850ES0, id 0",
     {0x04, 0, "DB850ES0", false, kFieldProperties},
     "Mi\x82rcoles", "Mi\xE9rcoles", u"Miércoles", "dBase 7", 850, true},
    {"dBase 7 with memo named DBWINUS0", {0x8C, 0, "DBWINUS0"},
     "Mi\xE9rcoles", "Mi\xE9rcoles", u"Miércoles", "dBase 7 con memo", 1252, false},
    {"dBase 7 whose name we do not know, id 850", {0x04, 0x02, "XYZ"},
     "A\xA4o", "A\xF1o", u"Año", "dBase 7", 850, true},
    {"Visual FoxPro, DOS 852", {0x30, 0x64}, "\x9D\xA2" "d\xAB",
     "L\xF3" "dz", u"Łódź", "Visual FoxPro", 852, true},
    {"Visual FoxPro, Windows 1250", {0x31, 0xC8}, "\xA3\xF3" "d\x9F",
     "L\xF3" "dz", u"Łódź", "Visual FoxPro con autoincremento", 1250, true},
    {"Visual FoxPro, Windows 1251", {0x32, 0xC9}, "\xC6\xF3\xEA", "???",
     u"Жук", "Visual FoxPro con Varchar/Varbinary", 1251, true},
    {"FoxPro 2, DOS 866", {0xF5, 0x65}, "\x86\xE3\xAA", "???", u"Жук",
     "FoxPro 2.x con memo", 866, true},
    {"FoxBASE, DOS 865", {0xFB, 0x66}, "\x9Dre", "\xD8re", u"Øre",
     "FoxBASE con memo", 865, true},
    {"dBase IV, Windows 1254", {0x03, 0xCA}, "\xF0\xFCn", "g\xFCn", u"ğün",
     "dBase III+/IV/5", 1254, true},
    {"no driver: the system code page", {0x03, 0}, "Mi\x82rcoles",
     "Mi\x82rcoles", u"Mi\u201Arcoles", "dBase III+/IV/5", 0, false},
    {"an unknown driver: the system code page", {0x43, 0xEE}, "Mi\x82rcoles",
     "Mi\x82rcoles", u"Mi\u201Arcoles", "dBase IV SQL", 0, false},
    {"an unknown level", {0x45, 0x02}, "Mi\x82rcoles", "Mi\xE9rcoles",
     u"Miércoles", "desconocido (0x45)", 850, true},
};

TEST(DialectDrivers, TextReachesTheProgramInTheSystemCodePage) {
    TempDir dir;
    for (const DriverCase& c : kDriverCases) {
        SCOPED_TRACE(c.what);
        DialectTable raw = c.shape;
        raw.fields = {{raw.level7() ? "NOMBRE_DEL_DIA_DE_LA_SEMANA" : "TEXTODIA", 'C', 20},
                      {"DIA", 'N', 2}};
        raw.records = {{c.stored, "3"}, {"", "4"}};
        test::write_bytes(dir / "DIASHORAST.DBF", raw.bytes());
        DbfTable table(dir.path(), "DIASHORAST.DBF", OpenMode::Exclusive, '.');
        table.open();
        EXPECT_EQ(test::all_texts(table),
                  (std::vector<std::vector<Text8>>{{c.read, "3"}, {"", "4"}}));
        table.first();
        EXPECT_EQ(table.stored_text(0), c.decoded);
        EXPECT_EQ(table.integer("dia"), 3);
        const TableDialect& dialect = table.dialect();
        EXPECT_EQ(dialect.version, c.shape.version);
        EXPECT_EQ(dialect.level, c.level);
        EXPECT_EQ(dialect.driver_id, c.shape.driver_id);
        EXPECT_EQ(dialect.driver_name, c.shape.driver_name);
        EXPECT_EQ(dialect.code_page, c.code_page);
        EXPECT_EQ(dialect.converted, c.converted);
    }
}

TEST(DialectDrivers, TablesWeDoNotWriteTakeNoRecords) {
    TempDir dir;
    DialectTable in_850(0x03, 0x02);
    in_850.fields = {{"TEXTODIA", 'C', 10}};
    DialectTable binary(0x04, 0x03);
    binary.fields = {{"DIA", 'I', 4}};
    for (const DialectTable& raw : {in_850, binary}) {
        test::write_bytes(dir / "T.DBF", raw.bytes());
        DbfTable table(dir.path(), "T.DBF", OpenMode::Exclusive, '.');
        table.open();
        EXPECT_EQ(test::error_of([&] { table.append(); }),
                  "Table is read only.\nTable: " + (dir / "T.DBF").string());
        table.close();
        EXPECT_EQ(test::read_file(dir / "T.DBF"), raw.bytes());
    }
    // A table read from memory has no file to take them, whatever its dialect.
    DialectTable ours(0x03, 0x03);
    ours.fields = {{"ABREV", 'C', 4}};
    DbfTable in_memory("", "T.DBF", OpenMode::Shared, '.');
    in_memory.open_from_memory(ours.bytes());
    EXPECT_EQ(test::error_of([&] { in_memory.append(); }), "Table is read only.\nTable: T.DBF");
}

} // namespace
} // namespace enlazor
