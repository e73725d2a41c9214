// Shared helpers of the check's tests: a scratch directory, tables written
// by hand, the real programs run, and a picture of a directory's files.
#pragma once

#include "check/check_report.h"
#include "storage/settings.h"
#include "support/files.h"
#include "support/tables.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace enlazor::testing {

// A fresh directory with an empty HTEMP inside, removed at the end.
class CheckDir : public test_support::TempDir {
public:
    CheckDir();
    std::filesystem::path exchange() const { return path() / "HTEMP"; }
};

using test_support::FieldDef;
using test_support::read_file;
using test_support::write_table;

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

// A program of the build ("enlazor-cli", "horalis-standin").
std::string program(const std::string& name);

// `text` quoted for the shell.
std::string shell_quoted(const std::string& text);

// Every file and folder under `dir`: its bytes, size and modification time.
std::map<std::string, std::string> snapshot(const std::filesystem::path& dir);

} // namespace enlazor::testing
