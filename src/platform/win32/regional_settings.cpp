#include "platform/regional_settings.h"

#include <windows.h>

namespace enlazor::platform {

// The user's decimal symbol as the regional settings hold it now; the
// window asks again after WM_SETTINGCHANGE.
char user_decimal_separator() {
    char symbol[8] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol, sizeof symbol) <= 1)
        return '.';
    return symbol[0];
}

} // namespace enlazor::platform
