// Runs one direction as a process of its own, the command-line program as a
// school runs it, so that a benchmark can report the time and peak memory of
// that direction alone: the peak of a long-running benchmark process only
// ever grows.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace enlazor::bench {

struct ProcessRun {
    bool succeeded = false;
    double seconds = 0;  // wall time from start to end of the process
    double peak_mb = 0;  // its peak resident memory, in megabytes of 10^6 bytes
};

// Runs a program (a path, or a name found on PATH) with `arguments`, its
// output discarded, in the school's locale (es_ES.UTF-8: a decimal comma).
ProcessRun run_program(const std::vector<std::string>& arguments);

// enlazor-cli, built beside the benchmark program, or the program that
// ENLAZOR_BENCH_CLI names (the Windows build's, run under Wine).
std::string enlazor_cli();

// Times the runs of a benchmark's loop and keeps their highest peak memory.
class RunRecorder {
public:
    explicit RunRecorder(benchmark::State& state) : state_(state) {}
    // Sets the iteration's time from `run`; false, with the benchmark marked
    // failed by `failure`, when the run failed.
    bool record(const ProcessRun& run, const char* failure);
    // Adds the peak_MB counter, and median_ms: on a shared machine a few
    // runs the host holds back pull the mean (the Time column) up, and the
    // median shows what a run usually takes.
    void report_peak() const;

private:
    benchmark::State& state_;
    double peak_mb_ = 0;
    std::vector<double> seconds_;
};

} // namespace enlazor::bench
