// What an interrupted save leaves beside the document, and its removal.
//
// A save writes its temporary file beside the document and renames it into
// place. Killed before the rename (power cut, task manager, Horalis closing
// its window), the document is whole but the temporary file stays, and
// schools' folders and backups would collect them. The temporary file is
// therefore named after its document, ".<document name>.enlazor-<6 letters or
// digits>", and held by the save for its whole life (on Linux an exclusive
// flock(), on Windows an open handle that shares nothing), so that the next
// run on the same document can tell a leftover from a save in progress.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace enlazor {

namespace platform {

// The temporary file's name: a dot, the document's name (cut to this many
// characters, so the whole stays within a file name's 255), the marker and
// the unique part.
inline constexpr std::size_t kDocumentNameKept = 200;
inline constexpr std::string_view kSaveMarker = ".enlazor-";
inline constexpr std::size_t kUniqueLength = 6;

// The unique part as both sides make it: letters and digits only.
constexpr bool is_unique_character(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace platform

// The temporary files of interrupted saves of `document` (a symbolic link
// stands for its target, as in the save): the regular files beside it whose
// name is exactly the one a save of this document gives, and that no save
// in progress holds. Directories, symbolic links, other documents' files and
// names that only look alike are never among them. Reads only; an unreadable
// folder has none to tell of.
std::vector<std::filesystem::path> leftover_saves(const std::filesystem::path& document);

struct LeftoverRemoval {
    std::vector<std::filesystem::path> removed;
    // Files that are still there for a reason that deserves a look (no
    // permission, a file system without locks, a disk error). A file a save
    // in progress holds, or one that went meanwhile, is not among them.
    struct Kept {
        std::filesystem::path path;
        std::error_code error;
    };
    std::vector<Kept> kept;
};

// Removes the leftovers of `document` that no running save holds, and
// nothing else. Never throws for a file it cannot remove: the run that
// calls it goes on, and says what it kept.
LeftoverRemoval remove_leftover_saves(const std::filesystem::path& document);

} // namespace enlazor
