// Small valid Horalis tables written with our own table layer: the fixed
// catalogs the import fuzzer reads every solution against, and the solution
// and day-period tables its seeds start from. The codes in the solution
// tables are those of the catalogs, so a seed runs the import to the end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace enlazor::fuzz {

// GRUPOST, PROFT, ASIGNOMT and AULAT, in the export's layouts.
void write_catalog_tables(const std::filesystem::path& dir);

// SOLUC as Horalis may store it: every field as characters, or DIA, HORA and
// SESIONES as numbers.
enum class SolutionLayout { Characters, Numbers };
void write_solution_table(const std::filesystem::path& dir, SolutionLayout layout);

// DIASHORAST with two days of three periods.
void write_day_period_table(const std::filesystem::path& dir);

// The import fuzzer's input: SOLUC's length in two bytes (little-endian),
// SOLUC's bytes, then DIASHORAST's bytes. An empty part stands for a
// missing table.
std::string import_input(std::string_view soluc, std::string_view diashorast);

struct ImportTables {
    std::string_view soluc;
    std::string_view diashorast;
};
// Splits an input made by import_input; any bytes split somehow, a length
// beyond the end taking everything.
ImportTables split_import_input(std::string_view input);

} // namespace enlazor::fuzz
