// HTML Help on Linux: each request starts the CHM viewer, and "close all"
// ends the viewers this process started.
#include "shell/system/html_help.h"
#include "shell/system/posix/chm_viewer.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

extern char** environ;

namespace enlazor::help {

namespace {

std::string find_on_path(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string{};
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::filesystem::path candidate = std::filesystem::path(dir.empty() ? "." : dir) / program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

// The viewers this process started, so that "close all" can end them.
struct StartedViewers {
    std::vector<pid_t> pids;

    void reap_finished() {
        std::erase_if(pids, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == pid; });
    }
    void start(const std::string& program, const std::vector<std::string>& args) {
        reap_finished();
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        // Help shows nothing when the viewer cannot start, as HTML Help does
        // for a file it cannot open: no message to the user.
        if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0)
            pids.push_back(pid);
    }
    void close_all() {
        for (pid_t pid : pids) {
            ::kill(pid, SIGTERM);
            // Give it a moment to go; a viewer that ignores the request is ended.
            bool gone = false;
            for (int i = 0; i < 50 && !gone; ++i) {
                gone = ::waitpid(pid, nullptr, WNOHANG) == pid;
                if (!gone)
                    ::usleep(10000);
            }
            if (!gone) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
        pids.clear();
    }
};

} // namespace

std::vector<std::string> viewer_arguments(const std::string& file, unsigned command, const HtmlHelpData& data) {
    switch (command) {
    case HH_HELP_CONTEXT: {
        const std::uintptr_t* context = std::get_if<std::uintptr_t>(&data);
        return {"--contextid=" + std::to_string(context ? *context : 0), file};
    }
    case HH_DISPLAY_TOC:
    case HH_DISPLAY_TOPIC:   // the file text already carries "::/topic"
    case HH_DISPLAY_INDEX:   // the viewer has no index look-up: open the file
        return {file};
    default:
        return {};
    }
}

HtmlHelpEntryPoint load_html_help(const std::string& viewer) {
    std::string program = viewer;
    if (program.empty()) {
        const char* configured = std::getenv("ENLAZOR_CHM_VIEWER");
        program = configured && *configured ? configured : "xchm";
    }
    program = find_on_path(program);
    if (program.empty())
        return {};
    auto started = std::make_shared<StartedViewers>();
    return [program, started](std::uintptr_t, const std::string& file, unsigned command, const HtmlHelpData& data) {
        if (command == HH_CLOSE_ALL) {
            started->close_all();
            return;
        }
        std::vector<std::string> args = viewer_arguments(file, command, data);
        if (!args.empty())
            started->start(program, args);
    };
}

} // namespace enlazor::help
