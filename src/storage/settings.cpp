#include "storage/settings.h"

#include "base/error.h"
#include "platform/regional_settings.h"

#include <string_view>

namespace enlazor {

Settings settings_from_environment() {
    return Settings{default_exchange_dir(), platform::user_decimal_separator()};
}

std::optional<std::filesystem::path> exchange_dir_option(const std::vector<std::string>& arguments,
                                                         std::size_t& i) {
    constexpr std::string_view option = "--exchange-dir";
    const std::string_view argument = arguments.at(i);
    if (argument == option) {
        if (i + 1 >= arguments.size())
            throw Error("falta el directorio tras --exchange-dir");
        ++i;
    } else if (!argument.starts_with(option) || argument[option.size()] != '=') {
        return std::nullopt;
    }
    const std::string_view directory =
        argument == option ? std::string_view(arguments[i]) : argument.substr(option.size() + 1);
    if (directory.empty())
        throw Error("el directorio de --exchange-dir está vacío");
    return path_from_utf8(directory);
}

} // namespace enlazor
