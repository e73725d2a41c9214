#include "base/error.h"

namespace enlazor {

std::string error_box_text(const std::string& message) {
    // Compared as bytes, the way the message text sorts: "x" and ")" after
    // ".", but "." itself and "!" do not get another stop.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace enlazor
