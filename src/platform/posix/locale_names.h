// How Linux names the user's regional settings: a locale name in the
// environment. The decimal separator is read from the installed locale.
#pragma once

#include <string>

namespace enlazor {

// The first character of the locale's decimal point, as LC_ALL, LC_NUMERIC
// or LANG name it in the environment; "." when none can be read.
char decimal_separator_from_environment();

// The first character of the decimal point of the locale `name`
// ("es_ES.UTF-8"): the installed locale's own, else that of its language
// (",": es, fr, de, it, pt, ca, gl, eu, nl), else ".".
char decimal_separator_for_locale_name(const std::string& name);

} // namespace enlazor
