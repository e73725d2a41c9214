// The check "Comprobar datos" and enlazor-cli check run, in process, on a
// district: its document alone (the export's rules; no SOLUC yet), and with
// a district's computed timetable beside it (the import's rules over
// 500,000 SOLUC records too). The window waits for it with the wait cursor.
#include "saga_generator.h"
#include "solution_generator.h"

#include "check/check.h"
#include "support/files.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace enlazor;
using namespace enlazor::bench;

void check_district(benchmark::State& state, bool with_solution) {
    test_support::TempDir place;
    const fs::path document = place.path() / "saga.xml";
    std::ofstream(document, std::ios::binary) << generate_saga_document();
    if (with_solution)
        write_solution_exchange(place.path());
    std::size_t findings = 0;
    for (auto _ : state) {
        const CheckReport report = run_check(document, Settings{place.path(), ','});
        findings = report.findings.size();
    }
    state.counters["findings"] = static_cast<double>(findings);
}

void BM_CheckDistrictDocument(benchmark::State& state) { check_district(state, false); }
void BM_CheckDistrictWithSolution(benchmark::State& state) { check_district(state, true); }

BENCHMARK(BM_CheckDistrictDocument)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CheckDistrictWithSolution)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
