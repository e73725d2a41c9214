#include "child_process.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace enlazor::bench {

namespace {

using Clock = std::chrono::steady_clock;

bool read_all(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::read(fd, bytes, size);
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool write_all(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, size);
        if (put <= 0)
            return false;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// Starts one program and waits for it. Its peak memory counts what its
// process held before it started the program too, so this runs in a small
// process of its own, never in the benchmark's, which grows.
ProcessRun spawn_and_wait(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ProcessRun run;
    const Clock::time_point started = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::setenv("LC_ALL", "es_ES.UTF-8", 1);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        return run;
    run.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    run.peak_mb = static_cast<double>(usage.ru_maxrss) * 1024 / 1e6;  // ru_maxrss is in KiB
    run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// The small process that starts the programs, forked before the benchmarks
// allocate anything. Requests and answers go through two pipes; it ends
// when the benchmark process closes its end.
class Spawner {
public:
    Spawner() {
        int requests[2];
        int answers[2];
        if (::pipe(requests) != 0 || ::pipe(answers) != 0)
            return;
        if (::fork() == 0) {
            ::close(requests[1]);
            ::close(answers[0]);
            serve(requests[0], answers[1]);
            ::_exit(0);
        }
        ::close(requests[0]);
        ::close(answers[1]);
        requests_ = requests[1];
        answers_ = answers[0];
    }

    ProcessRun run(const std::vector<std::string>& arguments) const {
        std::string joined;
        for (const std::string& argument : arguments)
            joined.append(argument).push_back('\0');
        const auto size = static_cast<std::uint32_t>(joined.size());
        ProcessRun answer;
        if (requests_ < 0 || !write_all(requests_, &size, sizeof size) ||
            !write_all(requests_, joined.data(), size) || !read_all(answers_, &answer, sizeof answer))
            return {};
        return answer;
    }

private:
    static void serve(int requests, int answers) {
        std::uint32_t size = 0;
        while (read_all(requests, &size, sizeof size)) {
            std::string joined(size, '\0');
            if (!read_all(requests, joined.data(), size))
                return;
            std::vector<std::string> arguments;
            for (std::size_t start = 0; start < joined.size();) {
                const std::size_t end = joined.find('\0', start);
                arguments.push_back(joined.substr(start, end - start));
                start = end + 1;
            }
            const ProcessRun run = spawn_and_wait(arguments);
            if (!write_all(answers, &run, sizeof run))
                return;
        }
    }

    int requests_ = -1;
    int answers_ = -1;
};

const Spawner spawner;

} // namespace

ProcessRun run_program(const std::vector<std::string>& arguments) { return spawner.run(arguments); }

std::string enlazor_cli() {
    if (const char* chosen = std::getenv("ENLAZOR_BENCH_CLI"); chosen && *chosen)
        return chosen;
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "enlazor-cli").string();
}

bool RunRecorder::record(const ProcessRun& run, const char* failure) {
    if (!run.succeeded) {
        state_.SkipWithError(failure);
        return false;
    }
    state_.SetIterationTime(run.seconds);
    peak_mb_ = std::max(peak_mb_, run.peak_mb);
    seconds_.push_back(run.seconds);
    return true;
}

void RunRecorder::report_peak() const {
    state_.counters["peak_MB"] = peak_mb_;
    if (seconds_.empty())
        return;
    std::vector<double> sorted = seconds_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    const double median = sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    state_.counters["median_ms"] = median * 1e3;
}

} // namespace enlazor::bench
