// Tables in other dialects, read by us and by independent readers: dbfread
// for the value of every field type it reads, GDAL's ogr2ogr as a writer of
// tables with DOS language drivers.
#include "command_output.h"
#include "dbf_test_support.h"
#include "support/dbase_dialects.h"

#include <gtest/gtest.h>

#include <fstream>

namespace enlazor {
namespace {

using test::TempDir;
using namespace test_support;

// Every record as our table layer reads it, converted to UTF-8: one line per
// record, the fields whose type is in `types` separated by tabs.
std::string our_texts(DbfTable& table, const std::string& types) {
    std::string out;
    for (table.first(); !table.eof(); table.next()) {
        std::string line;
        for (std::size_t i = 0; i < table.fields().size(); ++i) {
            if (types.find(table.fields()[i].dbase_type) == std::string::npos)
                continue;
            line += (line.empty() ? "" : "\t") + utf8_from_8bit(table.text(static_cast<int>(i)));
        }
        out += line + "\n";
    }
    return out;
}

struct Reference {
    const char* what;
    DialectTable table;
    std::string types;  // of the fields dbfread reads right in this dialect
};

std::vector<Reference> references() {
    // dbfread reads dBase 7's binary numbers as little-endian, which that
    // level does not write: those fields are left out of the comparison.
    Reference level7{"dBase 7, DOS 850", {0x04, 0x02, "DB850ES0", false, "\x01\x02"}, "CNFLD"};
    level7.table.fields = {{"NOMBRE_DEL_DIA_DE_LA_SEMANA", 'C', 20}, {"DIA", 'N', 2},
                           {"HORA", 'F', 6, 2},  {"FIJA", 'L', 1},
                           {"FECHA", 'D', 8},    {"SESION", 'I', 4},
                           {"DURACION", 'O', 8}, {"CREADA", '@', 8}};
    level7.table.records = {
        {"Mi\x82rcoles", "3", "2.50", "T", "20240904", dbase7_integer(1), dbase7_double(0.5),
         dbase7_timestamp(2024, 9, 4, 8, 0, 0)},
        {"S\xA0" "bado", "6", "-13.25", "F", "20240907", dbase7_integer(-2), dbase7_double(1),
         dbase7_timestamp(2024, 9, 7, 23, 59, 59)}};

    Reference dos850{"dBase III+, DOS 850", {0x03, 0x02}, "CNFLD"};
    dos850.table.fields = {{"TEXTODIA", 'C', 20}, {"DIA", 'N', 2}, {"HORA", 'N', 8, 3},
                           {"FIJA", 'L', 1}, {"FECHA", 'D', 8}};
    dos850.table.records = {{"Mi\x82rcoles", "3", "2.500", "T", "20240904"},
                            {"A\xA4o", "", "", "F", ""}};

    Reference foxpro{"Visual FoxPro, DOS 437", {0x30, 0x01}, "CIBYT"};
    foxpro.table.fields = {{"TEXTODIA", 'C', 12}, {"DIA", 'I', 4}, {"HORA", 'B', 8, 2},
                           {"PRECIO", 'Y', 8, 4}, {"CREADA", 'T', 8}};
    foxpro.table.records = {
        {"S\xA0" "bado", foxpro_integer(6), foxpro_double(2.5), foxpro_currency(123456),
         foxpro_date_time(2024, 9, 7, 10, 15, 0)},
        {"Mi\x82rcoles", foxpro_integer(-3), foxpro_double(-0.125), foxpro_currency(-5),
         foxpro_date_time(1999, 12, 31, 0, 0, 1)}};
    return {level7, dos850, foxpro};
}

TEST(DialectInterop, DbfreadReadsWhatWeReadInEveryFieldItSupports) {
    TempDir dir;
    for (const Reference& reference : references()) {
        SCOPED_TRACE(reference.what);
        test::write_bytes(dir / "T.DBF", reference.table.bytes());
        const auto [expected, status] = test::command_output(
            test::dbfread_script() + " --texts '" + (dir / "T.DBF").string() + "' " +
            reference.types + " 2>&1");
        ASSERT_EQ(status, 0) << expected;
        DbfTable table(dir.path(), "T.DBF", OpenMode::Shared, '.');
        table.open();
        EXPECT_EQ(our_texts(table, reference.types), expected);
    }
}

// GDAL writes the language driver byte for an LDID encoding, and the text
// in that driver's code page.
TEST(DialectInterop, TablesOfOgr2ogrWithDosDriversRead) {
    if (test::command_output("command -v ogr2ogr").second != 0)
        GTEST_SKIP() << "ogr2ogr is not installed (Debian's gdal-bin, in scripts/install-deps.sh)";
    TempDir dir;
    std::ofstream(dir / "DIASHORAST.csv") << "DIA,TEXTODIA,HORA\n3,Miércoles,2.5\n6,Sábado,1\n";
    for (const auto& [encoding, driver] : {std::pair{"LDID/2", 0x02}, std::pair{"LDID/1", 0x01}}) {
        SCOPED_TRACE(encoding);
        const std::filesystem::path out = dir / ("out-" + std::to_string(driver));
        const auto [output, status] = test::command_output(
            "ogr2ogr -f 'ESRI Shapefile' -lco ENCODING=" + std::string(encoding) +
            " -oo AUTODETECT_TYPE=YES '" + out.string() + "' '" +
            (dir / "DIASHORAST.csv").string() + "' 2>&1");
        ASSERT_EQ(status, 0) << output;
        DbfTable table(out, "DIASHORAST.DBF", OpenMode::Shared, ',');
        table.open();
        EXPECT_EQ(table.dialect().driver_id, driver);
        EXPECT_EQ(test::all_texts(table),
                  (std::vector<std::vector<Text8>>{{"3", "Mi\xE9rcoles", "2,5"},
                                                   {"6", "S\xE1" "bado", "1"}}));
        table.first();
        EXPECT_EQ(table.integer("DIA"), 3);
        EXPECT_EQ(table.floating("HORA"), 2.5);
    }
}

} // namespace
} // namespace enlazor
