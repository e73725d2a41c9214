#include "storage/settings.h"

#include "platform/regional_settings.h"

namespace enlazor {

Settings settings_from_environment() {
    return Settings{default_exchange_dir(), platform::user_decimal_separator()};
}

} // namespace enlazor
