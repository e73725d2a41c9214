// The ini write on Windows: the system's own private-profile service, the
// one Horalis reads the flag back with.
#include "shell/system/profile.h"

#include "base/error.h"
#include "base/unicode.h"
#include "platform/code_page.h"
#include "platform/places.h"

#include <windows.h>

#include <string>

namespace enlazor::platform {

void write_profile_int(const std::filesystem::path& path, std::string_view section, std::string_view key,
                       int value) {
    // The service takes 8-bit text; a folder name the code page cannot hold
    // comes out with "?" in it, which names no file, and the write fails.
    const Text8 file = encode_system_code_page(wide_from_utf8(utf8_from_path(path)));
    const Error failure("Unable to write to " + utf8_from_path(path));
    // A read-only file was made so on purpose: it is refused even where the
    // service could write it anyway (an administrator, Wine run as root).
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw failure;
    const std::string section_name(section), key_name(key), text = std::to_string(value);
    if (!WritePrivateProfileStringA(section_name.c_str(), key_name.c_str(), text.c_str(), file.c_str()))
        throw failure;
    // Nothing is left in the service's cache when Horalis reads the file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

} // namespace enlazor::platform
