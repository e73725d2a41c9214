// The export on an arbitrary SAGA document: load it from memory and rebuild
// the six Horalis tables from it. Whatever the document holds, only Error
// may come out.
#include "scratch_directory.h"

#include "export/export_tables.h"
#include "base/error.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path exchange_dir = [] {
        std::filesystem::path dir = enlazor::fuzz::scratch_directory() / "HTEMP";
        std::filesystem::create_directories(dir);
        return dir;
    }();
    // Both decimal separators get their turn, chosen by the input so that a
    // saved crash replays the same way.
    const char decimal_separator = size % 2 == 0 ? '.' : ',';
    try {
        enlazor::XmlDocument document;
        document.load_from_memory(std::string_view(reinterpret_cast<const char*>(data), size));
        enlazor::Exchange exchange(enlazor::Settings{exchange_dir, decimal_separator});
        enlazor::export_tables(document, exchange);
    } catch (const enlazor::Error&) {
    }
    return 0;
}
