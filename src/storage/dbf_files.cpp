// Files of the exchange directory, whatever the case of their names: Horalis
// runs under Wine, whose programs may write soluc.dbf for SOLUC.DBF.
#include "storage/dbf_table.h"

#include "platform/file_lock.h"

#include <algorithm>
#include <system_error>

namespace enlazor {

namespace {

bool is_regular(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool same_ignoring_ascii_case(const std::string& a, const std::string& b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// Every regular file of `directory` named `name` ignoring case, exact name first.
std::vector<std::filesystem::path> case_variants(const std::filesystem::path& directory,
                                                 const std::string& name) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    std::filesystem::directory_iterator entries(directory.empty() ? "." : directory, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string entry_name = entries->path().filename().string();
        if (same_ignoring_ascii_case(entry_name, name) && is_regular(entries->path()))
            found.push_back(directory / entry_name);
    }
    std::sort(found.begin(), found.end(), [&](const auto& a, const auto& b) {
        const bool a_exact = a.filename() == name, b_exact = b.filename() == name;
        return a_exact != b_exact ? a_exact : a < b;
    });
    return found;
}

} // namespace

std::filesystem::path find_file_ignoring_case(const std::filesystem::path& directory,
                                              const std::string& name) {
    const std::filesystem::path exact = directory / name;
    if (is_regular(exact))
        return exact;
    std::vector<std::filesystem::path> variants = case_variants(directory, name);
    return variants.empty() ? exact : variants.front();
}

bool file_exists(const std::filesystem::path& path) { return is_regular(path); }

void delete_file(const std::filesystem::path& path) {
    for (const std::filesystem::path& variant :
         case_variants(path.parent_path(), path.filename().string())) {
        // A file another table object or program holds stays, as it would on
        // Windows: unlinking it would silently send that holder's writes to a
        // file nobody can see any more.
        if (is_locked_by_others(variant))
            continue;
        std::error_code ignored;
        std::filesystem::remove(variant, ignored);
    }
}

} // namespace enlazor
