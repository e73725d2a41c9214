#include "check_test_support.h"

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

CheckDir::CheckDir() : TempDir("enlazor-check") {
    fs::create_directory(exchange());
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
            picture += "\n" + read_file(entry.path());
        files[name] = picture;
    }
    return files;
}

} // namespace enlazor::testing
