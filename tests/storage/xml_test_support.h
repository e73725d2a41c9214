// Helpers of the XML document tests: real files in a temporary folder, and
// UTF-16 bytes written independently of the code under test.
#pragma once

#include "support/files.h"
#include "support/temp_folder.h"

#include "base/error.h"
#include "storage/xml_document.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace enlazor::xmltest {

// A fresh folder, removed with everything in it at the end of the test.
struct Folder {
    std::filesystem::path path = test_support::make_temp_folder("enlazor-xml");
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return path / name;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

using test_support::read_file;

inline std::string utf16_bytes(const std::u16string& text, bool little_endian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char pair[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        bytes += pair[little_endian ? 0 : 1];
        bytes += pair[little_endian ? 1 : 0];
    }
    return bytes;
}

// The message of the Error that `action` throws, or "" when it throws none.
template <typename Action>
std::string error_message(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

} // namespace enlazor::xmltest
