// The import against a large solution: 500,000 SOLUC records and catalogs of
// thousands of records. Every relation must come from an index built once,
// so the whole import takes seconds, not the hours of a scan per record.
#include "import/time_tables.h"
#include "storage/dbf_table.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <stdlib.h>

using namespace enlazor;
namespace fs = std::filesystem;

namespace {

constexpr int kSolutionRecords = 500'000;
constexpr int kGroups = 2'000;
constexpr int kTeachers = 3'000;
constexpr int kSubjects = 4'000;
constexpr int kRooms = 1'000;

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

// Codes spread over the catalogs, some group and room codes that no catalog
// has, one record in six unplaced (day 0), one in ten a half session.
void write_solution(const fs::path& dir) {
    DbfTable table(dir, "SOLUC.DBF", OpenMode::Shared, '.');
    table.clear_fields();
    for (const char* name : {"CODGRUPO", "PROF", "ASIG", "AULA"})
        table.add_field(name, FieldType::Text, 6);
    table.add_field("DIA", FieldType::Integer);
    table.add_field("HORA", FieldType::Integer);
    table.add_field("SESIONES", FieldType::Float);
    table.create();
    table.open();
    for (int i = 0; i < kSolutionRecords; ++i) {
        table.append();
        table.set_text("CODGRUPO", code('G', (i * 7) % (kGroups + 50)));
        table.set_text("PROF", code('P', (i * 13) % kTeachers));
        table.set_text("ASIG", code('S', (i * 17) % kSubjects));
        table.set_text("AULA", code('R', (i * 3) % (kRooms + 20)));
        table.set_integer("DIA", i % 6);
        table.set_integer("HORA", 1 + i % 7);
        table.set_float("SESIONES", i % 10 == 0 ? 0.5 : 1.0);
        table.post();
    }
    table.close();
}

const char* kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<document><subjects/><teachers/><locations/><groups/></document>\n";

// The exchange directory, made once for all iterations and removed at exit.
class BenchExchange {
public:
    BenchExchange() {
        std::string pattern = (fs::temp_directory_path() / "enlazor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        write_catalog(dir_, "GRUPOST.DBF", "ABREV", 'G', kGroups);
        write_catalog(dir_, "PROFT.DBF", "ABREV", 'P', kTeachers);
        write_catalog(dir_, "ASIGNOMT.DBF", "COD", 'S', kSubjects);
        write_catalog(dir_, "AULAT.DBF", "ABREV", 'R', kRooms);
        write_day_periods(dir_);
        write_solution(dir_);
    }
    ~BenchExchange() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    const fs::path& dir() const { return dir_; }

private:
    fs::path dir_;
};

const fs::path& exchange_dir() {
    static const BenchExchange exchange;
    return exchange.dir();
}

void BM_ImportLargeSolution(benchmark::State& state) {
    const fs::path dir = exchange_dir();
    Exchange exchange(Settings{dir, '.'});
    const fs::path saga = dir / "saga.xml";
    ImportSummary summary;
    for (auto _ : state) {
        XmlDocument document;
        document.load_from_memory(kDocument, saga.string());
        summary = write_time_tables(document, exchange, saga);
        benchmark::DoNotOptimize(summary);
    }
    state.counters["inputs"] = static_cast<double>(summary.inputs);
    state.counters["activities"] = static_cast<double>(summary.activities);
    state.counters["saved_MB"] = static_cast<double>(fs::file_size(saga)) / 1e6;
}

BENCHMARK(BM_ImportLargeSolution)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
