// Shared helpers of the check's tests: a scratch directory, tables written
// by hand, the real programs run, and a picture of a directory's files.
#pragma once

#include "check/check_report.h"
#include "storage/settings.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace enlazor::testing {

// A fresh directory with an empty HTEMP inside, removed at the end.
class CheckDir {
public:
    CheckDir();
    ~CheckDir();
    CheckDir(const CheckDir&) = delete;
    CheckDir& operator=(const CheckDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path exchange() const { return path_ / "HTEMP"; }

private:
    std::filesystem::path path_;
};

// One field of a table written by hand: name, type, size of a text field.
struct Field {
    std::string name;
    char type;  // 'C' text, 'N' integer, 'F' float
    int size = 0;
};

// Creates `table` ("SOLUC.DBF") in `dir` with `rows`, every value given as
// UTF-8 text and stored as the program stores it.
void write_table(const std::filesystem::path& dir, const std::string& table,
                 const std::vector<Field>& fields, const std::vector<std::vector<std::string>>& rows);

// The tables of `xml` (a file of the source tree) exported into `dir`.
void export_into(const std::filesystem::path& xml, const std::filesystem::path& dir);

// A file of the source tree.
std::filesystem::path source_file(const std::string& relative);

// (kind, where) of every finding, where being the element's path or
// "TABLE#record", in report order.
std::vector<std::pair<std::string, std::string>> kinds_and_places(const CheckReport& report);

// What a program run printed and how it ended.
struct Outcome {
    int exit_code;
    std::string out;
    std::string err;
};

// Runs `command` (a shell command line) in `dir`, output kept in files there.
Outcome run_command(const std::string& command, const std::filesystem::path& dir);

// The whole content of a file (empty when it cannot be read).
std::string slurp(const std::filesystem::path& path);

// A program of the build ("enlazor-cli", "horalis-standin").
std::string program(const std::string& name);

// `text` quoted for the shell.
std::string shell_quoted(const std::string& text);

// Every file and folder under `dir`: its bytes, size and modification time.
std::map<std::string, std::string> snapshot(const std::filesystem::path& dir);

} // namespace enlazor::testing
