// Horalis tables written by hand, as the program writes its own: for the
// tests that read them back, the benchmarks and the fuzzers' fixed tables.
#pragma once

#include "storage/dbf_table.h"

#include <filesystem>
#include <string>
#include <vector>

namespace enlazor::test_support {

struct FieldDef {
    std::string name;
    FieldType type;
    int size = 0; // a text field's width
};

// Creates `table_name` ("SOLUC.DBF") afresh in `dir` with `fields` and
// writes `rows`, each value UTF-8 text set as the program sets it (numeric
// fields take it as a number with `decimal_separator`; an empty text leaves
// the field blank).
void write_table(const std::filesystem::path& dir, const std::string& table_name, const std::vector<FieldDef>& fields,
                 const std::vector<std::vector<std::string>>& rows, char decimal_separator = '.');

} // namespace enlazor::test_support
