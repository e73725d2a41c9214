// One error type for every failure the user must see: the XML document's
// parser and save errors, the table engine's messages, and the text rules'
// own conversion and index errors. The shells catch it at the top and show it.
#pragma once

#include <stdexcept>
#include <string>

namespace enlazor {

// A failure carrying the exact user-facing message, in UTF-8.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The chosen SAGA document does not exist: the frames show "No existe
// archivo" in a plain message box, not in the error box.
class MissingFile : public Error {
public:
    MissingFile() : Error("No existe archivo") {}
};

// The text of the error box: the message, with a full stop added when its
// last character sorts after "." (so "x" gets one, "x." and "x)" do not).
std::string error_box_text(const std::string& message);

} // namespace enlazor
