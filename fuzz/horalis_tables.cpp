#include "horalis_tables.h"

#include "storage/dbf_table.h"
#include "support/tables.h"

#include <algorithm>
#include <vector>

namespace enlazor::fuzz {

using test_support::FieldDef;
using test_support::write_table;

void write_catalog_tables(const std::filesystem::path& dir) {
    write_table(dir, "GRUPOST.DBF",
                {{"ABREV", FieldType::Text, 4}, {"TURNO", FieldType::Text, 1},
                 {"NIVEL", FieldType::Text, 5}, {"CURSO", FieldType::Text, 3},
                 {"GRUPO", FieldType::Text, 2}, {"IDSAGA", FieldType::Text, 60},
                 {"DESCRIP", FieldType::Text, 40}},
                {{"1A", "M", "ESO", "1", "A", "GR-1", "1 ESO A ()"},
                 {"2B", "T", "BACH", "2", "B", "GR-2", "2 BACH B ()"},
                 {"3C", "M", "ESO", "3", "C", "", "3 ESO C ()"}});
    write_table(dir, "PROFT.DBF",
                {{"ABREV", FieldType::Text, 4}, {"NOMBRE", FieldType::Text, 40},
                 {"DEPART", FieldType::Text, 40}, {"DNI", FieldType::Integer, 0},
                 {"IDSAGA", FieldType::Text, 60}},
                {{"ABG", "Alfa Beta Gamma", "", "", "PR-1"},
                 {"DEC", "Delta Eco", "", "12345678", "PR-2"}});
    write_table(dir, "ASIGNOMT.DBF",
                {{"COD", FieldType::Text, 4}, {"CODLARGO", FieldType::Text, 8},
                 {"NOMBRE", FieldType::Text, 40}, {"IDSAGA", FieldType::Text, 60},
                 {"HORAS", FieldType::Text, 8}},
                {{"LEN", "LEN", "Lengua", "SB-1", "4"},
                 {"MAT", "MAT", "Matemáticas", "SB-2", "2.5"},
                 {"TUT", "TUT", "Tutoría", "SB-3", ""}});
    write_table(dir, "AULAT.DBF",
                {{"ABREV", FieldType::Text, 4}, {"NOMBRE", FieldType::Text, 40},
                 {"EDIFICIO", FieldType::Text, 1}, {"MAXALUM", FieldType::Integer, 0},
                 {"IDSAGA", FieldType::Text, 60}},
                {{"A12", "Aula 12", "", "30", "LC-1"}, {"", "Patio", "", "", "LC-PATIO"}});
}

void write_solution_table(const std::filesystem::path& dir, SolutionLayout layout) {
    std::vector<FieldDef> fields = {{"CODGRUPO", FieldType::Text, 6},
                                 {"PROF", FieldType::Text, 6},
                                 {"ASIG", FieldType::Text, 6},
                                 {"AULA", FieldType::Text, 6}};
    if (layout == SolutionLayout::Characters) {
        fields.push_back({"DIA", FieldType::Text, 3});
        fields.push_back({"HORA", FieldType::Text, 10});
        fields.push_back({"SESIONES", FieldType::Text, 10});
    } else {
        fields.push_back({"DIA", FieldType::Integer, 0});
        fields.push_back({"HORA", FieldType::Float, 0});
        fields.push_back({"SESIONES", FieldType::Float, 0});
    }
    write_table(dir, "SOLUC.DBF", fields,
                {{"1A", "ABG", "LEN", "A12", "1", "1", "1"},
                 {"1A", "DEC", "MAT", "A12", "1", "2", "1"},
                 {"2B", "ABG", "LEN", "", "2", "1", "2"},
                 {"2B", "DEC", "TUT", "A12", "2", "3", "0.5"},
                 {"3C", "XYZ", "MAT", "B7", "0", "2.5", ""}});
}

void write_day_period_table(const std::filesystem::path& dir) {
    write_table(dir, "DIASHORAST.DBF",
                {{"DIHO", FieldType::Text, 10}, {"CODDIHO", FieldType::Text, 10},
                 {"DIA", FieldType::Text, 20}, {"TEXTODIA", FieldType::Text, 20},
                 {"HORA", FieldType::Text, 8}, {"HORADESDE", FieldType::Text, 8},
                 {"HORAHASTA", FieldType::Text, 8}, {"MINUTOS", FieldType::Text, 8}},
                {{"", "", "1", "Lunes", "1", "8:00", "8:55", "55"},
                 {"", "", "1", "Lunes", "2", "8:55", "9:50", "55"},
                 {"", "", "1", "Lunes", "3", "10:20", "11:15", "55"},
                 {"", "", "2", "Martes", "2", "8:55", "9:50", "55"},
                 {"", "", "2", "Martes", "1", "8:00", "8:55", "55"},
                 {"", "", "2", "Martes", "3", "", "", ""}});
}

std::string import_input(std::string_view soluc, std::string_view diashorast) {
    const std::size_t length = std::min<std::size_t>(soluc.size(), 0xFFFF);
    std::string input;
    input += static_cast<char>(length & 0xFF);
    input += static_cast<char>(length >> 8);
    input += soluc;
    input += diashorast;
    return input;
}

ImportTables split_import_input(std::string_view input) {
    std::size_t length = 0;
    if (input.size() >= 2) {
        length = static_cast<unsigned char>(input[0]) |
                 static_cast<std::size_t>(static_cast<unsigned char>(input[1])) << 8;
        input.remove_prefix(2);
    } else {
        input = {};
    }
    length = std::min(length, input.size());
    return {input.substr(0, length), input.substr(length)};
}

} // namespace enlazor::fuzz
