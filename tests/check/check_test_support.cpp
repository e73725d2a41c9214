#include "check_test_support.h"
#include "support/temp_folder.h"

#include "export/export_tables.h"
#include "storage/dbf_table.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"


#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace enlazor::testing {

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

namespace {

FieldType field_type(char type) {
    return type == 'C' ? FieldType::Text : type == 'N' ? FieldType::Integer : FieldType::Float;
}

} // namespace

CheckDir::CheckDir() {
    path_ = test_support::make_temp_folder("enlazor-check");
    fs::create_directory(exchange());
}

CheckDir::~CheckDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void write_table(const fs::path& dir, const std::string& table, const std::vector<Field>& fields,
                 const std::vector<std::vector<std::string>>& rows) {
    DbfTable dbf(dir, table, OpenMode::Shared, '.');
    dbf.clear_fields();
    for (const Field& field : fields)
        dbf.add_field(field.name, field_type(field.type), field.size);
    dbf.create();
    dbf.open();
    for (const auto& row : rows) {
        dbf.append();
        for (std::size_t i = 0; i < fields.size() && i < row.size(); ++i)
            dbf.set_text(fields[i].name, to_8bit_from_utf8(row[i]));
        dbf.post();
    }
    dbf.close();
}

void export_into(const fs::path& xml, const fs::path& dir) {
    XmlDocument document;
    document.load(xml);
    Exchange exchange(Settings{dir, '.'});
    export_tables(document, exchange);
}

fs::path source_file(const std::string& relative) { return fs::path(ENLAZOR_SOURCE_DIR) / relative; }

std::vector<std::pair<std::string, std::string>> kinds_and_places(const CheckReport& report) {
    std::vector<std::pair<std::string, std::string>> result;
    for (const Finding& finding : report.findings) {
        const FindingPlace& place = finding.place;
        result.emplace_back(finding.kind, place.table.empty()
                                              ? place.path
                                              : place.table + "#" + std::to_string(place.record));
    }
    return result;
}

std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(entry.path(), dir).string();
        const auto modified = entry.last_write_time().time_since_epoch();
        std::string picture = std::to_string(
            std::chrono::duration_cast<std::chrono::nanoseconds>(modified).count());
        if (entry.is_regular_file())
            picture += "\n" + slurp(entry.path());
        files[name] = picture;
    }
    return files;
}

} // namespace enlazor::testing
