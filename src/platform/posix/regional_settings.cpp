// The decimal separator of the user's locale, on Linux: the locale that
// LC_ALL, LC_NUMERIC or LANG name, as a C program would take it.
#include "platform/regional_settings.h"

#include "base/unicode.h"
#include "platform/code_page.h"
#include "platform/posix/locale_names.h"

#include <array>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <string_view>

namespace enlazor {

namespace {

// Locale names go to the C library only when they look like one
// (language_TERRITORY.codeset@modifier), never as a path.
bool is_plain_locale_name(const std::string& name) {
    if (name.empty() || name.size() > 64)
        return false;
    for (const char c : name) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                             (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '@' ||
                             c == '-';
        if (!allowed)
            return false;
    }
    return true;
}

// The first character of an installed locale's decimal point, in 1252.
std::optional<char> installed_decimal_separator(const std::string& name) {
    if (!is_plain_locale_name(name))
        return std::nullopt;
    const locale_t locale = newlocale(LC_NUMERIC_MASK, name.c_str(), locale_t{});
    if (locale == locale_t{})
        return std::nullopt;
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    const std::string point = radix != nullptr ? radix : "";
    freelocale(locale);
    if (point.empty())
        return std::nullopt;
    if (static_cast<unsigned char>(point[0]) < 0x80)
        return point[0];
    const Text8 converted = platform::encode_system_code_page(wide_from_utf8(point));  // a non-ASCII point, as UTF-8
    if (converted.empty() || converted[0] == '?')
        return std::nullopt;
    return converted[0];
}

// The decimal point of the languages the schools use, for when their locale
// is not installed on this machine.
char known_decimal_separator(const std::string& name) {
    const std::string language = name.substr(0, name.find_first_of("_.@"));
    constexpr std::array<std::string_view, 9> comma_languages = {"es", "fr", "de", "it", "pt",
                                                                 "ca", "gl", "eu", "nl"};
    for (const std::string_view comma_language : comma_languages)
        if (language == comma_language)
            return ',';
    return '.';  // en, C, POSIX and anything unknown
}

} // namespace

char decimal_separator_for_locale_name(const std::string& name) {
    if (const std::optional<char> installed = installed_decimal_separator(name))
        return *installed;
    return known_decimal_separator(name);
}

char decimal_separator_from_environment() {
    constexpr std::array<const char*, 3> variables = {"LC_ALL", "LC_NUMERIC", "LANG"};
    for (const char* variable : variables) {
        const char* name = std::getenv(variable);
        if (name != nullptr && *name != '\0')
            return decimal_separator_for_locale_name(name);
    }
    return '.';
}

namespace platform {

char user_decimal_separator() { return decimal_separator_from_environment(); }

} // namespace platform

} // namespace enlazor
