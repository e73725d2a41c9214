// The user's regional settings that the text rules take part of.
#pragma once

namespace enlazor::platform {

// The first character of the user's decimal symbol, in the system code page,
// or "." when the setting cannot be read. Read afresh at every call, so a
// change of the regional settings is seen by the next conversion.
char user_decimal_separator();

} // namespace enlazor::platform
