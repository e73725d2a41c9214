#include "fault_support.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace faults {

namespace {

// Exit code of the mounting child when the machine refuses a mount namespace.
constexpr int kCannotMount = 77;

std::string status_text(int status) {
    if (WIFEXITED(status))
        return "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

// The argument and environment arrays of a program to run, made before the
// fork so that the child only calls what is safe between fork and exec.
struct Invocation {
    std::vector<std::string> strings;
    std::vector<char*> argv, envp;

    Invocation(const std::vector<std::string>& arguments, const Limits& limits) {
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "LC_ALL=", 7) != 0)
                strings.push_back(*e);
        strings.push_back("LC_ALL=C");
        strings.insert(strings.end(), limits.environment.begin(), limits.environment.end());
        for (std::string& e : strings)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
    }
};

[[noreturn]] void exec_child(const Invocation& invocation, int out_fd, int err_fd, const Limits& limits) {
    const int null_fd = ::open("/dev/null", O_RDONLY);
    if (null_fd < 0)
        ::_exit(126);
    ::dup2(null_fd, 0);
    ::dup2(out_fd, 1);
    ::dup2(err_fd, 2);
    if (limits.file_size) {
        ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
        const rlimit limit{*limits.file_size, *limits.file_size};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (limits.address_space) {
        const rlimit limit{*limits.address_space, *limits.address_space};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    ::execve(invocation.argv[0], invocation.argv.data(), invocation.envp.data());
    ::_exit(127);
}

// What a finished child wrote into a pipe (the pipe keeps it after the end).
std::string drain(int fd) {
    std::string bytes;
    char buffer[4096];
    for (ssize_t count; (count = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

void copy_tree(const fs::path& from, const fs::path& to) {
    for (const fs::directory_entry& entry : fs::directory_iterator(from))
        fs::copy(entry.path(), to / entry.path().filename(),
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

void empty_directory(const fs::path& directory) {
    for (const fs::directory_entry& entry : fs::directory_iterator(directory))
        fs::remove_all(entry.path());
}

// The child that owns the mount: never returns to the test.
[[noreturn]] void run_in_own_mount(const std::vector<std::string>& argv, const fs::path& mount_point,
                                   std::size_t disk_bytes, bool read_only, const fs::path& contents,
                                   const fs::path& scratch) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        ::_exit(kCannotMount);
    const std::string options = "size=" + std::to_string(disk_bytes) + ",mode=0755";
    if (::mount("tmpfs", mount_point.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
        ::_exit(kCannotMount);
    try {
        copy_tree(contents, mount_point);
        if (read_only && ::mount(nullptr, mount_point.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            ::_exit(kCannotMount);
        const Outcome outcome = run(argv);
        write_file(scratch / "own-disk.out", outcome.out);
        write_file(scratch / "own-disk.err", outcome.err);
        write_file(scratch / "own-disk-status",
                   std::to_string(outcome.exited) + " " + std::to_string(outcome.exit_code) + " " +
                       std::to_string(outcome.signal));
        empty_directory(contents);
        copy_tree(mount_point, contents);
    } catch (const std::exception& e) {
        write_file(scratch / "own-disk-failure", e.what());
        ::_exit(1);
    }
    ::_exit(0);
}

} // namespace

fs::path cli_binary() { return fs::path(ENLAZOR_BINARY_DIR) / "bin" / "enlazor-cli"; }
fs::path standin_binary() { return fs::path(ENLAZOR_BINARY_DIR) / "bin" / "horalis-standin"; }

bool sanitized_build() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

bool Outcome::reported_done() const {
    return (exited && exit_code == 0) || out.find("Proceso finalizado") != std::string::npos;
}

std::string Outcome::describe() const {
    return (exited ? "exit code " + std::to_string(exit_code) : "killed by signal " + std::to_string(signal)) +
           "\nstdout: " + out + "\nstderr: " + err;
}

Running::Running(const std::vector<std::string>& argv, const Limits& limits) {
    int out_pipe[2], err_pipe[2];
    if (::pipe2(out_pipe, O_CLOEXEC) != 0 || ::pipe2(err_pipe, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    const Invocation invocation(argv, limits);
    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0)
        exec_child(invocation, out_pipe[1], err_pipe[1], limits);
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    out_fd_ = out_pipe[0];
    err_fd_ = err_pipe[0];
}

Running::~Running() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    ::close(out_fd_);
    ::close(err_fd_);
}

void Running::signal(int number) const {
    if (!status_)
        ::kill(pid_, number);
}

bool Running::ended() {
    if (status_)
        return true;
    int status = 0;
    rusage usage{};
    if (::wait4(pid_, &status, WNOHANG, &usage) == pid_) {
        status_ = status;
        peak_rss_kb_ = usage.ru_maxrss;
    }
    return status_.has_value();
}

Outcome Running::wait() {
    if (!status_) {
        int status = 0;
        rusage usage{};
        while (::wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
        }
        status_ = status;
        peak_rss_kb_ = usage.ru_maxrss;
    }
    Outcome outcome;
    outcome.exited = WIFEXITED(*status_);
    outcome.exit_code = outcome.exited ? WEXITSTATUS(*status_) : -1;
    outcome.signal = WIFSIGNALED(*status_) ? WTERMSIG(*status_) : 0;
    outcome.peak_rss_kb = peak_rss_kb_;
    outcome.out = drain(out_fd_);
    outcome.err = drain(err_fd_);
    return outcome;
}

Outcome run(const std::vector<std::string>& argv, const Limits& limits) {
    return Running(argv, limits).wait();
}

bool wait_for_event(int watch_fd, const std::function<bool(const std::string&)>& wanted, Running& program) {
    alignas(inotify_event) char buffer[4096];
    while (!program.ended()) {
        pollfd ready{watch_fd, POLLIN, 0};
        if (::poll(&ready, 1, 5) <= 0)
            continue;
        const ssize_t length = ::read(watch_fd, buffer, sizeof buffer);
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && wanted(event->name))
                return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return false;
}

std::vector<std::string> cli_command(const std::string& direction, const fs::path& saga,
                                     const fs::path& exchange) {
    return {cli_binary().string(), direction, saga.string(), "--exchange-dir", exchange.string()};
}

Outcome run_cli(const std::string& direction, const fs::path& saga, const fs::path& exchange,
                const Limits& limits) {
    return run(cli_command(direction, saga, exchange), limits);
}

std::optional<Outcome> run_on_own_disk(const std::vector<std::string>& argv, const fs::path& mount_point,
                                       std::size_t disk_bytes, bool read_only, const fs::path& contents,
                                       const fs::path& scratch) {
    fs::remove(scratch / "own-disk-status");
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (child == 0)
        run_in_own_mount(argv, mount_point, disk_bytes, read_only, contents, scratch);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotMount)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the mounting child failed (" + status_text(status) +
                                 "): " + read_file(scratch / "own-disk-failure"));
    Outcome outcome;
    std::istringstream fields(read_file(scratch / "own-disk-status"));
    fields >> outcome.exited >> outcome.exit_code >> outcome.signal;
    outcome.out = read_file(scratch / "own-disk.out");
    outcome.err = read_file(scratch / "own-disk.err");
    return outcome;
}

static void write_school(std::ostream& out, const SchoolSize& size) {
    static const char* const kSubjectNames[] = {
        "Matemáticas", "Lengua Castellana y Literatura", "Inglés", "Geografía e Historia",
        "Biología y Geología", "Física y Química", "Educación Física", "Música",
        "Tecnología y Digitalización", "Francés", "Filosofía", "Economía"};
    static const char* const kSurnames[] = {"García", "Martínez", "López", "Sánchez", "Pérez",
                                            "Gómez", "Martín", "Jiménez", "Ruiz", "Hernández"};
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>\n  <subjects>\n";
    for (int s = 0; s < size.subjects; ++s)
        out << "    <subject id=\"SB-" << s << "\" name=\"" << kSubjectNames[s % 12] << ' ' << s / 12 + 1
            << "\" hours=\"" << (s % 5 == 4 ? "2.5" : std::to_string(2 + s % 3)) << "\"/>\n";
    out << "  </subjects>\n  <teachers>\n";
    for (int t = 0; t < size.teachers; ++t)
        out << "    <teacher id=\"PR-" << t << "\">" << kSurnames[t % 10] << ' ' << kSurnames[(t / 10) % 10]
            << ", Profesor " << t << "</teacher>\n";
    out << "  </teachers>\n  <locations>\n";
    for (int r = 0; r < size.rooms; ++r)
        out << "    <location id=\"LC-" << r << "\">Aula " << r + 1 << "</location>\n";
    out << "  </locations>\n  <groups>\n";
    for (int g = 0; g < size.groups; ++g) {
        const bool bachillerato = g % 6 >= 4;
        out << "    <group id=\"GR-" << g << "\" name=\"" << (bachillerato ? g % 2 + 1 : g % 4 + 1)
            << (bachillerato ? " BACH " : " ESO ") << static_cast<char>('A' + g / 6 % 26)
            << "\" regim=\"ORD-" << (g % 3 == 2 ? 'T' : 'M') << "\">Grupo " << g << "<assigned-subjects>";
        for (int k = 0; k < size.subjects_per_group && size.subjects > 0; ++k) {
            const int subject = (g * size.subjects_per_group + k) % size.subjects;
            out << "<assigned-subject id=\"SB-" << subject << "\"><assigned-teachers>";
            if (size.teachers > 0)
                out << "<assigned-teacher id=\"PR-" << (g * 7 + k) % size.teachers << "\"/>";
            out << "</assigned-teachers></assigned-subject>";
        }
        out << "</assigned-subjects></group>\n";
    }
    out << "  </groups>\n";
    if (size.padding_bytes > 0) {
        out << "  <students>\n";
        std::size_t written = 0;
        for (long n = 0; written < size.padding_bytes; ++n) {
            std::ostringstream line;
            line << "    <student id=\"AL-" << n << "\" name=\"Alumno " << kSurnames[n % 10] << ' ' << n
                 << "\" group=\"GR-" << n % 24 << "\" address=\"Calle Mayor " << n % 300
                 << ", Villanueva del Río\"/>\n";
            out << line.str();
            written += line.str().size();
        }
        out << "  </students>\n";
    }
    out << "</document>\n";
}

std::string school_document(const SchoolSize& size) {
    std::ostringstream out;
    write_school(out, size);
    return out.str();
}

void write_school_document(const fs::path& path, const SchoolSize& size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    write_school(out, size);
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

bool prepare_round_trip(const fs::path& saga, const fs::path& exchange, std::string& failure) {
    const Outcome exported = run_cli("export", saga, exchange);
    if (exported.exit_code != 0) {
        failure = "export: " + exported.describe();
        return false;
    }
    const Outcome placed = run({standin_binary().string(), "--exchange-dir", exchange.string()});
    if (placed.exit_code != 0) {
        failure = "horalis-standin: " + placed.describe();
        return false;
    }
    return true;
}

std::vector<std::pair<std::string, std::string>> snapshot(const fs::path& directory) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : entries(directory))
        files.emplace_back(name, read_file(directory / name));
    return files;
}

} // namespace faults
