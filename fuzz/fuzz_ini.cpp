// The ini editor on arbitrary files and names. The input is the section, the
// key and the value (each a string ended by a backslash and another
// character, as FuzzedDataProvider reads them), then the file's content.
//
// Whatever the content, setting a value must not crash; and when the names
// and the value are ones the editor can write (one line each, no "=" in the
// key, no "]" in the section, nothing a reader would take for a comment or a
// section, no blanks at either end), reading it back must give the value,
// and setting it a second time must change nothing.
#include "fuzz_check.h"

#include "shell/system/profile_ini.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_one_trimmed_line(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return false;
    return text.empty() || (!is_blank(text.front()) && !is_blank(text.back()));
}

bool is_writable_section(std::string_view section) {
    return is_one_trimmed_line(section) && section.find(']') == std::string_view::npos;
}

bool is_writable_key(std::string_view key) {
    return !key.empty() && is_one_trimmed_line(key) && key.find('=') == std::string_view::npos &&
           key.front() != ';' && key.front() != '[';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string content = input.ConsumeRemainingBytesAsString();

    const std::string changed = enlazor::set_profile_value(content, section, key, value);
    if (!is_writable_section(section) || !is_writable_key(key) || !is_one_trimmed_line(value))
        return 0;
    FUZZ_CHECK(enlazor::read_profile_value(changed, section, key) == value);
    FUZZ_CHECK(enlazor::set_profile_value(changed, section, key, value) == changed);
    return 0;
}
