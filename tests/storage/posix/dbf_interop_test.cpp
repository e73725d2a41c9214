// Tables written by the table layer, read by an independent reader: the
// Python dbfread package (installed with CI's python3-dbfread).
#include "command_output.h"
#include "dbf_test_support.h"

#include <gtest/gtest.h>

namespace enlazor {
namespace {

using test::TempDir;

// What read_with_dbfread.py prints for the table, and its exit status.
std::pair<std::string, int> read_with_dbfread(const std::filesystem::path& table) {
    return test::command_output(test::dbfread_script() + " '" + table.string() + "' 2>&1");
}

TEST(TableInterop, DbfreadReadsOurTablesAsWeWroteThem) {
    TempDir dir;
    DbfTable table(dir.path(), "ASIGT.DBF", OpenMode::Shared, ',');
    table.add_field("CASIG", FieldType::Text, 4);
    table.add_field("NOMBRE", FieldType::Text, 40);
    table.add_field("DNI", FieldType::Integer);
    table.add_field("HORAS", FieldType::Float);
    table.create();
    table.open();
    table.append();
    table.set_text("CASIG", "A101X");  // cut to 4
    table.set_text("NOMBRE", "Educaci\xF3n F\xEDsica \x80 \xD1" "and\xFA");
    table.set_integer("DNI", -42);
    table.set_float("HORAS", 2.5);
    table.post();
    table.append();
    table.set_text("NOMBRE", "  lead");
    table.set_integer("DNI", 2147483647);
    table.set_float("HORAS", 13.2);
    table.post();
    table.append();
    table.set_float("HORAS", 2.0001);
    table.post();
    table.append();  // nothing set
    table.post();
    table.close();

    const auto [output, status] = read_with_dbfread(dir / "ASIGT.DBF");
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output,
              "{\"encoding\":\"cp1252\","
              "\"fields\":[[\"CASIG\",\"C\",4,0],[\"NOMBRE\",\"C\",40,0],"
              "[\"DNI\",\"N\",11,0],[\"HORAS\",\"N\",20,10]],"
              "\"records\":[[\"A101\",\"Educación Física € Ñandú\",-42,2.5],"
              "[\"\",\"  lead\",2147483647,13.2],"
              "[\"\",\"\",null,2.0001],"
              "[\"\",\"\",null,null]]}");
}

TEST(TableInterop, DbfreadReadsAnEmptyTable) {
    TempDir dir;
    DbfTable table(dir.path(), "DIASHORAST.DBF", OpenMode::Shared, '.');
    table.add_field("DIHO", FieldType::Text, 10);
    table.add_field("DIA", FieldType::Text, 20);
    table.create();
    const auto [output, status] = read_with_dbfread(dir / "DIASHORAST.DBF");
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output,
              "{\"encoding\":\"cp1252\",\"fields\":[[\"DIHO\",\"C\",10,0],[\"DIA\",\"C\",20,0]],"
              "\"records\":[]}");
}

} // namespace
} // namespace enlazor
