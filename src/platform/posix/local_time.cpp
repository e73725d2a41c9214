#include "platform/local_time.h"

namespace enlazor::platform {

std::tm local_now() {
    const std::time_t now = std::time(nullptr);
    std::tm date{};
    ::localtime_r(&now, &date);
    return date;
}

} // namespace enlazor::platform
