// Writes the table seeds of the fuzz corpus with our own table layer:
// fuzz_dbf_reader gets each table as it is, fuzz_import_tables gets the
// solution and day-period tables joined as its input.
//
// Usage: fuzz_make_seeds <corpus directory>
#include "horalis_tables.h"
#include "scratch_directory.h"

#include "storage/error.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using enlazor::fuzz::write_file;

// A table's bytes with a fixed update date in its header, so that seeds
// written again on another day come out byte for byte the same.
std::string read_table(const fs::path& path) {
    std::string bytes = enlazor::fuzz::read_file(path);
    if (bytes.size() >= 4) {
        bytes[1] = 124;  // 2024
        bytes[2] = 1;
        bytes[3] = 1;
    }
    return bytes;
}

void write_seeds(const fs::path& corpus) {
    const fs::path tables = enlazor::fuzz::scratch_directory();
    const fs::path dbf_seeds = corpus / "fuzz_dbf_reader";
    const fs::path import_seeds = corpus / "fuzz_import_tables";
    fs::create_directories(dbf_seeds);
    fs::create_directories(import_seeds);

    enlazor::fuzz::write_catalog_tables(tables);
    enlazor::fuzz::write_day_period_table(tables);
    const std::string days = read_table(tables / "DIASHORAST.DBF");
    for (const char* name : {"GRUPOST.DBF", "PROFT.DBF", "ASIGNOMT.DBF", "AULAT.DBF"})
        write_file(dbf_seeds / name, read_table(tables / name));
    write_file(dbf_seeds / "DIASHORAST.DBF", days);

    using enlazor::fuzz::SolutionLayout;
    for (const auto& [layout, label] : {std::pair{SolutionLayout::Characters, "characters"},
                                        std::pair{SolutionLayout::Numbers, "numbers"}}) {
        enlazor::fuzz::write_solution_table(tables, layout);
        const std::string solution = read_table(tables / "SOLUC.DBF");
        write_file(dbf_seeds / (std::string("SOLUC-") + label + ".DBF"), solution);
        write_file(import_seeds / (std::string("soluc-") + label),
                   enlazor::fuzz::import_input(solution, days));
    }
    // No solution at all: the import must still say what is missing.
    write_file(import_seeds / "no-soluc", enlazor::fuzz::import_input({}, days));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    try {
        write_seeds(argv[1]);
    } catch (const enlazor::Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
