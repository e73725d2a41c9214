// The system code page on Linux: Windows-1252, the code page of the schools'
// machines and of the tables Horalis writes, with its best-fit substitutes.
#include "platform/code_page.h"

#include "base/codepage_1252.h"

#include <cerrno>
#include <iconv.h>

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

unsigned system_code_page() { return 1252; }

// glibc's iconv knows the DOS and Windows code pages as "CP<number>".
std::optional<std::u16string> decode_code_page(unsigned code_page, std::string_view text) {
    const std::string name = "CP" + std::to_string(code_page);
    const iconv_t converter = ::iconv_open("UTF-16LE", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input(text);
    char* in = input.data();
    std::size_t in_left = input.size();
    // Two bytes a character is enough for every single-byte code page; a
    // byte that gives more (a surrogate pair) makes the loop grow it.
    std::string output(2 * input.size() + 4, '\0');
    std::size_t produced = 0;
    while (in_left > 0) {
        char* out = output.data() + produced;
        std::size_t out_left = output.size() - produced;
        const std::size_t result = ::iconv(converter, &in, &in_left, &out, &out_left);
        produced = output.size() - out_left;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
        } else {
            // A byte the code page leaves undefined, or a sequence cut short
            // at the end: the replacement character, and on with the next byte.
            if (output.size() - produced < 2)
                output.resize(output.size() * 2);
            output[produced++] = '\xFD';
            output[produced++] = '\xFF';
            ++in;
            --in_left;
        }
    }
    ::iconv_close(converter);
    std::u16string result;
    result.reserve(produced / 2);
    for (std::size_t i = 0; i + 1 < produced; i += 2)
        result += static_cast<char16_t>(static_cast<unsigned char>(output[i]) |
                                        static_cast<unsigned char>(output[i + 1]) << 8);
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
