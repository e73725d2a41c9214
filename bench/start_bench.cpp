// What starting the program costs before it does anything: the floor under
// every direction's time, and under Wine most of a small school's.
#include "child_process.h"

#include <benchmark/benchmark.h>

namespace {

using namespace enlazor::bench;

void BM_ProgramStart(benchmark::State& state) {
    RunRecorder recorder(state);
    for (auto _ : state)
        if (!recorder.record(run_program({enlazor_cli(), "--version"}), "the program did not start"))
            return;
    recorder.report_peak();
}
BENCHMARK(BM_ProgramStart)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

} // namespace
