// Running the real programs through the shell, for the command's tests.
#include "check_test_support.h"

#include <cstdlib>
#include <sys/wait.h>

namespace enlazor::testing {

namespace fs = std::filesystem;

Outcome run_command(const std::string& command, const fs::path& dir) {
    const fs::path out = dir / "run.out";
    const fs::path err = dir / "run.err";
    const std::string line =
        command + " >" + shell_quoted(out.string()) + " 2>" + shell_quoted(err.string());
    const int status = std::system(line.c_str());
    Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

std::string program(const std::string& name) {
    return (fs::path(ENLAZOR_BINARY_DIR) / "bin" / name).string();
}

std::string shell_quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace enlazor::testing
