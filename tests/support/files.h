// Files and folders for the tests, the benchmarks and the fuzzers, on either
// system: a fresh folder removed with all it holds, and whole files read
// and written byte for byte.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor::test_support {

// Creates and returns <temp>/<prefix>-<random>; throws when it cannot
// (mkdtemp does not exist on Windows).
std::filesystem::path make_temp_folder(const std::string& prefix);

// A fresh folder, removed with everything in it at the end, even what a
// test left read-only.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "enlazor-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The whole file; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);

// Replaces the content of `path` with `bytes`; throws when the disk
// refuses, since a test would otherwise go on with a stale file.
void write_file(const std::filesystem::path& path, std::string_view bytes);

// Names of the entries of `directory`, sorted; empty when it does not exist.
std::vector<std::string> entries(const std::filesystem::path& directory);

} // namespace enlazor::test_support
