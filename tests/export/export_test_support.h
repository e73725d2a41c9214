// Shared helpers of the export tests: a scratch exchange directory, an
// export from XML text, and the tables read back.
#pragma once

#include "export/export_tables.h"
#include "storage/dbf_table.h"
#include "support/files.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor::testing {

using test_support::read_file;
using test_support::TempDir;
using test_support::write_file;


// A table as an independent reader sees it: its fields and every record's
// fields as text, in stored order.
struct TableContents {
    std::vector<FieldInfo> fields;
    std::vector<std::vector<Text8>> rows;
    std::vector<Text8> column(const std::string& field) const;
};

// Reads "<table>.DBF" of `directory` (texts of float fields use `separator`).
TableContents read_table(const std::filesystem::path& directory, const std::string& table,
                         char separator = ',');

// One export of `xml` into `directory` with the given decimal separator.
ExportSummary export_xml(std::string_view xml, const std::filesystem::path& directory,
                         char separator = ',');

// `body` inside the document element.
std::string saga_document(std::string_view body);

// Windows-1252 bytes of UTF-8 source text, for expected values with accents.
Text8 cp1252(std::string_view utf8);

// A file of the source tree.
std::filesystem::path source_file(const std::string& relative);

} // namespace enlazor::testing
