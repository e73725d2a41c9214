// The ini write on Linux, where there is no private-profile service: our own
// writer edits the text the way that service would, and the file is
// replaced whole.
#include "shell/system/profile.h"

#include "shell/system/profile_ini.h"
#include "platform/atomic_file.h"
#include "platform/file_reading.h"
#include "platform/places.h"
#include "base/error.h"

#include <string>

namespace enlazor::platform {

void write_profile_int(const std::filesystem::path& path, std::string_view section, std::string_view key,
                       int value) {
    const Error failure("Unable to write to " + utf8_from_path(path));
    // A missing file is an empty one; any other failure to read it keeps
    // its content from being lost to the rewrite.
    std::string content;
    if (const std::error_code error = read_regular_file(path, content)) {
        if (error != std::errc::no_such_file_or_directory)
            throw failure;
        content.clear();
    }
    // Replaced whole, so Horalis never reads a half-written ini file.
    if (replace_file_atomically(path, set_profile_value(content, section, key, std::to_string(value))))
        throw failure;
}

} // namespace enlazor::platform
