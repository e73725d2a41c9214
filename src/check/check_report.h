// What `enlazor-cli check` found: each finding with the element of the SAGA
// document or the record of a Horalis table it concerns, and the counts.
#pragma once

#include "base/direction.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace enlazor {

// An error would stop a direction; a warning only deserves a look.
enum class Severity { Warning, Error };

// Where a finding lies. Texts are UTF-8; what does not apply stays empty (0).
struct FindingPlace {
    // An element of the document.
    std::string element;        // "subject", "assigned-teacher", ...
    std::string path;           // "/document/groups/group[2]/assigned-subjects/assigned-subject[1]"
    std::size_t position = 0;   // among the elements of its kind in its list, from 1
    std::string id;             // its id attribute, trimmed
    std::string name;           // its name (attribute or first child), trimmed
    // A record of a table.
    std::string table;          // "SOLUC"
    std::size_t record = 0;     // from 1, in stored order
    std::string field;          // "ASIG"
    std::string code;           // the field's text
};

struct Finding {
    Severity severity = Severity::Warning;
    Direction direction = Direction::Export;
    std::string kind;     // a stable key for scripts: "duplicate-id", ...
    std::string message;  // Spanish, complete: what, where and what it leads to
    FindingPlace place;
    std::size_t count = 1;  // records that share this finding (import findings)
};

// A Horalis table the check read, as its header says it was written.
struct TableRead {
    std::string table;             // "SOLUC"
    std::string level;             // "dBase 7", "Visual FoxPro", ...
    unsigned driver_id = 0;        // the language driver's byte
    std::string driver_name;       // dBase 7's driver name, else empty
    unsigned code_page = 0;        // of its text; 0 when the driver names none we know
    bool converted = false;        // its text is converted to the system code page
    // Visual FoxPro's Varchar and Varbinary fields, read by their stored length.
    std::vector<std::string> variable_fields;
};

struct CheckReport {
    std::filesystem::path document;
    std::filesystem::path exchange_dir;
    char decimal_separator = '.';
    // The import is checked when the exchange directory holds SOLUC.
    bool import_checked = false;
    std::vector<Finding> findings;
    // The import's tables that were read, SOLUC first.
    std::vector<TableRead> tables;

    std::size_t errors() const;
    std::size_t warnings() const;
    // Findings per kind, for the summary.
    std::map<std::string, std::size_t> counts_by_kind() const;
};

// A table read, as the report names it: "SOLUC: dBase III; controlador
// DB850ES0 (0x00), página de códigos 850".
std::string table_read_text(const TableRead& table);

// The counts of the summary: "2 errores, 1 aviso".
std::string summary_counts(const CheckReport& report);

// The report as the terminal shows it, in Spanish.
std::string report_text(const CheckReport& report);

// The same report as one JSON object, for scripts (UTF-8).
std::string report_json(const CheckReport& report);

} // namespace enlazor
