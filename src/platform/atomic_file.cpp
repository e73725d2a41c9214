#include "platform/atomic_file.h"

namespace enlazor {

// The whole content at once is the streamed save with one piece.
std::error_code replace_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
    return replace_file_atomically(path, [bytes](const ContentWriter& write) { write(bytes); });
}

} // namespace enlazor
