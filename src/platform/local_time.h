// The local calendar date, for the date of last update in a table's header.
#pragma once

#include <ctime>

namespace enlazor::platform {

// Today's date and time in the user's time zone.
std::tm local_now();

} // namespace enlazor::platform
