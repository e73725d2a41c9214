// One temporary directory per fuzzing process, for the files a target must
// put on disk. Every run overwrites the same few files in it, so a run of
// millions of inputs leaves nothing behind, and it is removed at exit.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <stdlib.h>

namespace enlazor::fuzz {

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "enlazor-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();  // nothing can be fuzzed without a place for the files
        }
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The process's directory, created on first use.
inline const std::filesystem::path& scratch_directory() {
    static const ScratchDirectory directory;
    return directory.path();
}

// Replaces `path` with exactly `bytes`; aborts when the disk refuses, since
// the run would otherwise test a stale file.
inline void write_file(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

} // namespace enlazor::fuzz
