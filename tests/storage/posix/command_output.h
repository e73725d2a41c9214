// Runs a shell command for the interop tests and collects what it prints.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <utility>

namespace enlazor::test {

// What `command` printed on its standard output, and its exit status (-1
// when it could not run or did not exit).
inline std::pair<std::string, int> command_output(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {"popen failed", -1};
    std::string output;
    std::array<char, 4096> buffer{};
    while (std::size_t count = fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), count);
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The path of the helper that prints a table as dbfread reads it.
inline std::string dbfread_script() {
    return "/usr/bin/python3 '" ENLAZOR_SOURCE_DIR "/tests/storage/read_with_dbfread.py'";
}

} // namespace enlazor::test
