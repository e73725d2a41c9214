// The import at a school's scale, ten times that, and a district's: a SOLUC
// of 10,000, 100,000 and 500,000 records, with catalogs to match. Each run
// is the whole direction as enlazor-cli runs it (load the document, write
// the section, save it), timed from start to end, with its peak memory.
#include "child_process.h"
#include "solution_generator.h"
#include "support/files.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace enlazor::bench;

void import_at(benchmark::State& state, const SolutionScale& scale) {
    enlazor::test_support::TempDir exchange_dir;
    write_solution_exchange(exchange_dir.path(), scale);
    const fs::path saga = exchange_dir.path() / "saga.xml";
    RunRecorder recorder(state);
    for (auto _ : state) {
        // Every run starts from the document without a section, as a
        // school's first import does.
        std::ofstream(saga, std::ios::binary | std::ios::trunc) << kImportDocument;
        const ProcessRun run =
            run_program({enlazor_cli(), "import", saga.string(), "--exchange-dir", exchange_dir.path().string()});
        if (!recorder.record(run, "the import failed"))
            return;
    }
    state.counters["records"] = scale.records;
    recorder.report_peak();
    state.counters["saved_MB"] = static_cast<double>(fs::file_size(saga)) / 1e6;
}

void BM_ImportSchool(benchmark::State& state) { import_at(state, kSchoolSolution); }
void BM_ImportSchoolTimesTen(benchmark::State& state) { import_at(state, scaled(kSchoolSolution, 10)); }
void BM_ImportDistrict(benchmark::State& state) { import_at(state, SolutionScale{}); }

BENCHMARK(BM_ImportSchool)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);
BENCHMARK(BM_ImportSchoolTimesTen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_ImportDistrict)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace
