// What enlazor-cli was asked to do, parsed from its arguments.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace enlazor::cli {

// Exit codes, documented in --help.
enum ExitCode : int {
    kSuccess = 0,
    kConversionError = 1,  // a table, document or number error stopped the direction
    kUsageError = 2,       // the arguments are not understood
    kMissingFile = 3,      // "No existe archivo"
    kCheckWarnings = 4,    // check: only warnings, nothing would stop a direction
    kCheckErrors = 5,      // check: something would stop a direction
};

enum class Command { Export, Import, Check, Help, Version };

struct Invocation {
    Command command = Command::Help;
    std::filesystem::path saga_path;                   // export / import / check
    std::optional<std::filesystem::path> exchange_dir;  // --exchange-dir
    bool json = false;                                  // --json, check only
};

// Parses the arguments after the program name. Throws UsageError with a
// one-line explanation when they are not understood.
Invocation parse_command_line(const std::vector<std::string>& args);

struct UsageError {
    std::string message;
};

// The text of --help.
std::string help_text();

} // namespace enlazor::cli
