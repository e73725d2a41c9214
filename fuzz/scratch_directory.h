// One temporary directory per fuzzing process, for the files a target must
// put on disk. Every run overwrites the same few files in it, so a run of
// millions of inputs leaves nothing behind, and it is removed at exit.
#pragma once

#include "support/files.h"

namespace enlazor::fuzz {

// The process's directory, created on first use.
inline const std::filesystem::path& scratch_directory() {
    static const test_support::TempDir directory("enlazor-fuzz");
    return directory.path();
}

using test_support::read_file;
using test_support::write_file;

} // namespace enlazor::fuzz
