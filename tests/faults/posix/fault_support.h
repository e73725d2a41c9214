// What the fault tests share: running the real programs in child processes
// (with resource limits, on a small disk of their own, or killed midway),
// school documents of any size, and the tables a round trip needs.
#pragma once

#include "support/files.h"

#include <sys/resource.h>
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace faults {

namespace fs = std::filesystem;

fs::path cli_binary();
fs::path standin_binary();

// True in the sanitizer build: its shadow memory rules out an address-space
// limit, and its runtime must come first, before any preloaded library.
bool sanitized_build();

using enlazor::test_support::entries;
using enlazor::test_support::read_file;
using enlazor::test_support::TempDir;
using enlazor::test_support::write_file;

// What a child process is allowed, beyond what the test process has.
struct Limits {
    std::optional<rlim_t> file_size;      // RLIMIT_FSIZE; SIGXFSZ ignored, so writes fail with EFBIG
    std::optional<rlim_t> address_space;  // RLIMIT_AS
    std::vector<std::string> environment; // extra NAME=value entries
};

// How a child process ended, with what it printed.
struct Outcome {
    bool exited = false;  // false: ended by a signal
    int exit_code = -1;
    int signal = 0;
    long peak_rss_kb = 0;  // the most memory it held at once
    std::string out, err;

    // The completion report of either direction.
    bool reported_done() const;
    // For failure messages: everything known about the run.
    std::string describe() const;
};

// A program running in a child process. Its output goes to pipes, which a
// file-size limit does not touch; the programs print a few lines at most,
// well within what a pipe holds until wait() reads it.
class Running {
public:
    explicit Running(const std::vector<std::string>& argv, const Limits& limits = {});
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int number) const;
    // Waits for the end and collects the output.
    Outcome wait();
    // True once the child has ended (it is then reaped; wait() still reports it).
    bool ended();

private:
    pid_t pid_ = -1;
    int out_fd_ = -1, err_fd_ = -1;
    long peak_rss_kb_ = 0;
    std::optional<int> status_;
};

Outcome run(const std::vector<std::string>& argv, const Limits& limits = {});

// Waits until the inotify descriptor `watch_fd` reports an event on a file
// whose name `wanted` accepts, or until `program` ends. True for the event.
bool wait_for_event(int watch_fd, const std::function<bool(const std::string&)>& wanted, Running& program);

// enlazor-cli export|import `saga` --exchange-dir `exchange`, in the C locale.
std::vector<std::string> cli_command(const std::string& direction, const fs::path& saga,
                                     const fs::path& exchange);
Outcome run_cli(const std::string& direction, const fs::path& saga, const fs::path& exchange,
                const Limits& limits = {});

// Runs `argv` in a child process that has a mount namespace of its own, with
// a fresh tmpfs of `disk_bytes` (read-only when `read_only`) mounted on
// `mount_point`. Before the run the tmpfs receives a copy of everything in
// `contents`; after it, everything on the tmpfs is copied back into
// `contents` (emptied first), so the test sees what the program left there.
// `scratch` (outside the tmpfs) carries the outcome back.
// Nothing when this machine does not let a test mount (then skip).
std::optional<Outcome> run_on_own_disk(const std::vector<std::string>& argv, const fs::path& mount_point,
                                       std::size_t disk_bytes, bool read_only, const fs::path& contents,
                                       const fs::path& scratch);

// A believable school: its catalogs and groups, each group taught a share of
// the subjects, plus `padding_bytes` of other sections the conversions pass
// over (as a real SAGA document carries students, marks and so on).
struct SchoolSize {
    int subjects = 40;
    int teachers = 50;
    int rooms = 30;
    int groups = 24;
    int subjects_per_group = 9;
    std::size_t padding_bytes = 0;
};
std::string school_document(const SchoolSize& size);
// The same, streamed to a file (for documents too big to build in memory twice).
void write_school_document(const fs::path& path, const SchoolSize& size);

// Exports `saga` into `exchange` and lets the Horalis stand-in place the
// lessons, so that an import has everything it reads. Returns false (with
// a description in `failure`) when either step did not succeed.
bool prepare_round_trip(const fs::path& saga, const fs::path& exchange, std::string& failure);

// The exchange directory's tables, as a map from name to content.
std::vector<std::pair<std::string, std::string>> snapshot(const fs::path& directory);

} // namespace faults
