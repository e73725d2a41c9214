// The system code page: the 8-bit encoding of table fields, codes, paths and
// messages inside the program, and the case-insensitive comparison of the
// user's locale that the lookup list uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace enlazor::platform {

// UTF-16 to the system code page, the whole counted text (a code unit 0
// included). A character the code page lacks becomes its best-fit
// substitute, else the code page's default character "?". Never fails: a
// conversion the system refuses gives the empty text.
std::string encode_system_code_page(const std::u16string& text);

// The system code page to UTF-16. A byte the code page leaves undefined is
// decoded as the system does by default, without an error.
std::u16string decode_system_code_page(const std::string& text);

// The number of the system code page, as Windows numbers code pages (1252
// for Windows-1252, 850 for the DOS Latin-1 page): a table whose text is
// stored in this code page needs no conversion.
unsigned system_code_page();

// Text stored in another code page (a Windows number: 437, 850, 1251...) to
// UTF-16. A byte the code page leaves undefined is decoded as the system
// does by default, without an error. Nothing when the system cannot convert
// from that code page at all.
std::optional<std::u16string> decode_code_page(unsigned code_page, std::string_view text);

// A key that is equal for two texts exactly when the user locale's
// comparison, ignoring case, calls them equal, so a hash index finds what a
// scan with that comparison would find.
std::string case_insensitive_key(const std::string& text);

} // namespace enlazor::platform
