// The program's two kinds of text, which never mix: `Text8` holds 8-bit
// text in the system code page (Windows-1252, the code page of the schools'
// machines and of Horalis's tables), `WideText` holds UTF-16 code units as
// the XML document and Windows hand them out.
#pragma once

#include <string>

namespace enlazor {

using Text8 = std::string;        // Windows-1252 bytes
using WideText = std::u16string;  // UTF-16 code units

} // namespace enlazor
