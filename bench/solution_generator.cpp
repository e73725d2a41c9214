#include "solution_generator.h"

#include "storage/dbf_table.h"

#include <string>

namespace enlazor::bench {

namespace fs = std::filesystem;

namespace {

// A four-character code (the catalogs' code width) for every number.
std::string code(char kind, int n) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string text(1, kind);
    for (int i = 0; i < 3; ++i) {
        text += digits[n % 36];
        n /= 36;
    }
    return text;
}

void write_catalog(const fs::path& dir, const char* table_name, const char* code_field, char kind,
                   int records) {
    DbfTable table(dir, table_name, OpenMode::Shared, '.');
    table.clear_fields();
    table.add_field(code_field, FieldType::Text, 4);
    table.add_field("NOMBRE", FieldType::Text, 40);
    table.add_field("IDSAGA", FieldType::Text, 60);
    table.create();
    table.open();
    for (int i = 0; i < records; ++i) {
        table.append();
        table.set_text(code_field, code(kind, i));
        table.set_text("NOMBRE", "Nombre " + std::to_string(i));
        table.set_text("IDSAGA", std::string(1, kind) + "-SAGA-" + std::to_string(i));
        table.post();
    }
    table.close();
}

void write_day_periods(const fs::path& dir) {
    DbfTable table(dir, "DIASHORAST.DBF", OpenMode::Shared, '.');
    table.clear_fields();
    for (const char* name : {"DIA", "TEXTODIA", "HORA", "HORADESDE", "HORAHASTA"})
        table.add_field(name, FieldType::Text, 20);
    table.create();
    table.open();
    for (int d = 1; d <= 5; ++d)
        for (int p = 1; p <= 7; ++p) {
            table.append();
            table.set_text("DIA", std::to_string(d));
            table.set_text("TEXTODIA", "Dia " + std::to_string(d));
            table.set_text("HORA", std::to_string(p));
            table.set_text("HORADESDE", std::to_string(7 + p) + ":00");
            table.set_text("HORAHASTA", std::to_string(7 + p) + ":55");
            table.post();
        }
    table.close();
}

void write_solution(const fs::path& dir, const SolutionScale& scale) {
    DbfTable table(dir, "SOLUC.DBF", OpenMode::Shared, '.');
    table.clear_fields();
    for (const char* name : {"CODGRUPO", "PROF", "ASIG", "AULA"})
        table.add_field(name, FieldType::Text, 6);
    table.add_field("DIA", FieldType::Integer);
    table.add_field("HORA", FieldType::Integer);
    table.add_field("SESIONES", FieldType::Float);
    table.create();
    table.open();
    for (int i = 0; i < scale.records; ++i) {
        table.append();
        table.set_text("CODGRUPO", code('G', (i * 7) % (scale.groups + scale.groups / 40)));
        table.set_text("PROF", code('P', (i * 13) % scale.teachers));
        table.set_text("ASIG", code('S', (i * 17) % scale.subjects));
        table.set_text("AULA", code('R', (i * 3) % (scale.rooms + scale.rooms / 50)));
        table.set_integer("DIA", i % 6);
        table.set_integer("HORA", 1 + i % 7);
        table.set_float("SESIONES", i % 10 == 0 ? 0.5 : 1.0);
        table.post();
    }
    table.close();
}

} // namespace

void write_solution_exchange(const fs::path& dir, const SolutionScale& scale) {
    write_catalog(dir, "GRUPOST.DBF", "ABREV", 'G', scale.groups);
    write_catalog(dir, "PROFT.DBF", "ABREV", 'P', scale.teachers);
    write_catalog(dir, "ASIGNOMT.DBF", "COD", 'S', scale.subjects);
    write_catalog(dir, "AULAT.DBF", "ABREV", 'R', scale.rooms);
    write_day_periods(dir);
    write_solution(dir, scale);
}

} // namespace enlazor::bench
