// The system code page on Linux: Windows-1252, the code page of the schools'
// machines and of the tables Horalis writes, with its best-fit substitutes.
#include "platform/code_page.h"

#include "storage/codepage_1252.h"

namespace enlazor::platform {

namespace {

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool is_ascii_letter(char16_t unit) {
    return (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z');
}

} // namespace

std::string encode_system_code_page(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    // The letter that a following combining mark may still join (e + U+0301 is é).
    char16_t open_base = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (cp1252::is_combining_mark(unit)) {
            // A mark that cannot join its letter is left out: the plain
            // letter is the best fit for a letter the code page lacks.
            if (open_base != 0) {
                if (const unsigned char letter = cp1252::compose(open_base, unit))
                    result.back() = static_cast<char>(letter);
                open_base = 0;
            }
            continue;
        }
        open_base = is_ascii_letter(unit) ? unit : 0;
        if (is_high_surrogate(unit) && i + 1 < text.size() && is_low_surrogate(text[i + 1]))
            ++i;  // one character beyond the BMP, one "?"
        result += static_cast<char>(cp1252::encode(unit));
    }
    return result;
}

std::u16string decode_system_code_page(const std::string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (const char byte : text)
        result += cp1252::decode(static_cast<unsigned char>(byte));
    return result;
}

// Every 1252 letter folded to one case: ñ and Ñ, é and É fold together, é
// and e stay apart, as the Spanish locale's comparison ignoring case has it.
std::string case_insensitive_key(const std::string& text) {
    std::string result = text;
    for (char& byte : result)
        byte = static_cast<char>(cp1252::fold_case(static_cast<unsigned char>(byte)));
    return result;
}

} // namespace enlazor::platform
