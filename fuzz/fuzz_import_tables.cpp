// The import's reading of Horalis's solution: arbitrary SOLUC and DIASHORAST
// tables (see split_import_input) next to fixed valid catalogs, imported
// into a small document and saved. Only Error may come out, and a failed
// import must leave the saved document as it was.
#include "fuzz_check.h"
#include "horalis_tables.h"
#include "scratch_directory.h"

#include "import/time_tables.h"
#include "base/error.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<document>\n"
    "  <subjects><subject id=\"SB-1\" name=\"Lengua\" hours=\"4\"/></subjects>\n"
    "  <time-tables><time-table/></time-tables>\n"
    "</document>\n";

struct Files {
    fs::path exchange_dir;
    fs::path document_path;
};

const Files& files() {
    static const Files prepared = [] {
        Files f{enlazor::fuzz::scratch_directory() / "HTEMP",
                enlazor::fuzz::scratch_directory() / "saga.xml"};
        fs::create_directories(f.exchange_dir);
        enlazor::fuzz::write_catalog_tables(f.exchange_dir);
        return f;
    }();
    return prepared;
}

// An empty part stands for a table Horalis never wrote.
void put_table(const fs::path& path, std::string_view bytes) {
    if (bytes.empty())
        fs::remove(path);
    else
        enlazor::fuzz::write_file(path, bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Files& f = files();
    const enlazor::fuzz::ImportTables tables = enlazor::fuzz::split_import_input(
        std::string_view(reinterpret_cast<const char*>(data), size));
    put_table(f.exchange_dir / "SOLUC.DBF", tables.soluc);
    put_table(f.exchange_dir / "DIASHORAST.DBF", tables.diashorast);
    enlazor::fuzz::write_file(f.document_path, kDocument);

    // Both decimal separators get their turn, chosen by the input so that a
    // saved crash replays the same way.
    const char decimal_separator = size % 2 == 0 ? '.' : ',';
    try {
        enlazor::XmlDocument document;
        document.load_from_memory(kDocument);
        enlazor::Exchange exchange(enlazor::Settings{f.exchange_dir, decimal_separator});
        enlazor::write_time_tables(document, exchange, f.document_path);
    } catch (const enlazor::Error&) {
        FUZZ_CHECK(enlazor::fuzz::read_file(f.document_path) == kDocument);
    }
    return 0;
}
