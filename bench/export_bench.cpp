// The export of a district-scale document: 2,000 groups with 12 assigned
// subjects each, 3,000 teachers, 1,500 subjects, 800 rooms, names repeating
// hundreds of times. The look-ups and the code numbering must stay linear
// for the whole export to take well under a second.
#include "export/export_tables.h"
#include "saga_generator.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;
using namespace enlazor;

// A scratch exchange directory holding the generated document.
class DistrictExchange {
public:
    DistrictExchange() {
        std::string pattern = (fs::temp_directory_path() / "enlazor-export-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a scratch directory");
        directory_ = pattern;
        std::ofstream(document(), std::ios::binary) << bench::generate_saga_document();
    }
    ~DistrictExchange() {
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }
    const fs::path& directory() const { return directory_; }
    fs::path document() const { return directory_ / "district.xml"; }

private:
    fs::path directory_;
};

// The whole direction as the shells run it: load the file, rebuild six tables.
void BM_ExportDistrict(benchmark::State& state) {
    DistrictExchange district;
    Exchange exchange(Settings{district.directory(), ','});
    std::size_t assignments = 0;
    for (auto _ : state) {
        const ExportSummary summary = run_export(district.document(), exchange);
        assignments = summary.tables.at(4).records;
    }
    state.counters["assignments"] = static_cast<double>(assignments);
}
BENCHMARK(BM_ExportDistrict)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The builders alone, on a document already in memory.
void BM_ExportDistrictTablesOnly(benchmark::State& state) {
    DistrictExchange district;
    XmlDocument document;
    document.load(district.document());
    Exchange exchange(Settings{district.directory(), ','});
    for (auto _ : state)
        benchmark::DoNotOptimize(export_tables(document, exchange));
}
BENCHMARK(BM_ExportDistrictTablesOnly)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
