// Writes the table seeds of the fuzz corpus with our own table layer:
// fuzz_dbf_reader gets each table as it is, fuzz_import_tables gets the
// solution and day-period tables joined as its input. Tables of the other
// dialects Horalis's engine may write come from the tests' dialect writer:
// one of each header layout, binary field type and kind of language driver.
//
// Usage: fuzz_make_seeds <corpus directory>
#include "horalis_tables.h"
#include "scratch_directory.h"

#include "base/error.h"
#include "support/dbase_dialects.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;
using enlazor::fuzz::write_file;

// A table's bytes with a fixed update date in its header, so that seeds
// written again on another day come out byte for byte the same.
std::string read_table(const fs::path& path) {
    std::string bytes = enlazor::fuzz::read_file(path);
    if (bytes.size() >= 4) {
        bytes[1] = 124;  // 2024
        bytes[2] = 1;
        bytes[3] = 1;
    }
    return bytes;
}

using namespace enlazor::test_support;

// SOLUC at dBase level 7 with its driver named, binary numbers and a long
// field name, behind field properties.
DialectTable level7_solution() {
    DialectTable table(0x04, 0x00, "DB850ES0", false, std::string("\x01\x00\x0A\x00", 4));
    table.fields = {{"CODGRUPO", 'C', 6}, {"PROF", 'C', 6},       {"ASIG", 'C', 6},
                    {"AULA", 'C', 6},     {"DIA", 'I', 4},        {"HORA", 'O', 8},
                    {"SESIONES", 'O', 8}, {"CREADA", '@', 8},     {"OBSERVACIONES_DE_LA_SESION", 'C', 12}};
    table.records = {{"1A", "ABG", "LEN", "A12", dbase7_integer(1), dbase7_double(1), dbase7_double(1),
                      dbase7_timestamp(2024, 9, 2, 8, 0, 0), "A\xA4o"},
                     {"2B", "DEC", "MAT", "", dbase7_integer(3), dbase7_double(2), dbase7_double(0.5),
                      std::string(8, '\0'), ""}};
    return table;
}

// SOLUC of Visual FoxPro: binary numbers, currency, a date-time, a memo
// reference, the backlink.
DialectTable foxpro_solution() {
    DialectTable table(0x30, 0x03);
    table.fields = {{"CODGRUPO", 'C', 6}, {"PROF", 'C', 6},     {"ASIG", 'C', 6},
                    {"AULA", 'C', 6},     {"DIA", 'I', 4},      {"HORA", 'B', 8, 2},
                    {"SESIONES", 'Y', 8, 4}, {"CREADA", 'T', 8}, {"NOTA", 'M', 4}};
    table.records = {{"1A", "ABG", "LEN", "A12", foxpro_integer(2), foxpro_double(3),
                      foxpro_currency(10000), foxpro_date_time(2024, 9, 3, 9, 50, 0), foxpro_integer(5)}};
    return table;
}

// DIASHORAST with a DOS language driver and the days' accented names.
DialectTable dos_day_periods(unsigned char version, unsigned char driver) {
    DialectTable table(version, driver, "", version == 0x8B);
    table.fields = {{"DIA", 'C', 20}, {"TEXTODIA", 'C', 20}, {"HORA", 'C', 8},
                    {"HORADESDE", 'C', 8}, {"HORAHASTA", 'C', 8}, {"NOTA", 'M', 10}};
    table.records = {{"1", "Lunes", "1", "8:00", "8:55", "         1"},
                     {"3", "Mi\x82rcoles", "2", "8:55", "9:50", ""},
                     {"6", "S\xA0" "bado", "1", "8:00", "8:55", ""}};
    return table;
}

void write_dialect_seeds(const fs::path& dbf_seeds, const fs::path& import_seeds) {
    const std::string days_850 = dos_day_periods(0x8B, 0x02).bytes();
    const std::pair<const char*, std::string> tables[] = {
        {"SOLUC-dbase7.DBF", level7_solution().bytes()},
        {"SOLUC-visual-foxpro.DBF", foxpro_solution().bytes()},
        {"DIASHORAST-dbase4-850.DBF", days_850},
        {"DIASHORAST-foxpro2-437.DBF", dos_day_periods(0xF5, 0x01).bytes()},
        {"DIASHORAST-dbase3-866.DBF", dos_day_periods(0x83, 0x65).bytes()},
    };
    for (const auto& [name, bytes] : tables)
        write_file(dbf_seeds / name, bytes);
    write_file(import_seeds / "soluc-dbase7-days-850",
               enlazor::fuzz::import_input(level7_solution().bytes(), days_850));
    write_file(import_seeds / "soluc-visual-foxpro-days-437",
               enlazor::fuzz::import_input(foxpro_solution().bytes(),
                                           dos_day_periods(0xF5, 0x01).bytes()));
}

void write_seeds(const fs::path& corpus) {
    const fs::path tables = enlazor::fuzz::scratch_directory();
    const fs::path dbf_seeds = corpus / "fuzz_dbf_reader";
    const fs::path import_seeds = corpus / "fuzz_import_tables";
    fs::create_directories(dbf_seeds);
    fs::create_directories(import_seeds);

    enlazor::fuzz::write_catalog_tables(tables);
    enlazor::fuzz::write_day_period_table(tables);
    const std::string days = read_table(tables / "DIASHORAST.DBF");
    for (const char* name : {"GRUPOST.DBF", "PROFT.DBF", "ASIGNOMT.DBF", "AULAT.DBF"})
        write_file(dbf_seeds / name, read_table(tables / name));
    write_file(dbf_seeds / "DIASHORAST.DBF", days);

    using enlazor::fuzz::SolutionLayout;
    for (const auto& [layout, label] : {std::pair{SolutionLayout::Characters, "characters"},
                                        std::pair{SolutionLayout::Numbers, "numbers"}}) {
        enlazor::fuzz::write_solution_table(tables, layout);
        const std::string solution = read_table(tables / "SOLUC.DBF");
        write_file(dbf_seeds / (std::string("SOLUC-") + label + ".DBF"), solution);
        write_file(import_seeds / (std::string("soluc-") + label),
                   enlazor::fuzz::import_input(solution, days));
    }
    // No solution at all: the import must still say what is missing.
    write_file(import_seeds / "no-soluc", enlazor::fuzz::import_input({}, days));
    write_dialect_seeds(dbf_seeds, import_seeds);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    try {
        write_seeds(argv[1]);
    } catch (const enlazor::Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
