// The command line of hosted mode: Horalis starts Enlazor with a direction
// word and the id of the window to live in.
#pragma once

#include "base/direction.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor {

// Splits a command line the way the Windows start-up code does for its
// parameters: blanks and control characters separate arguments, double
// quotes group text (and are dropped), an empty pair of quotes is no argument.
std::vector<std::string> split_command_line(std::string_view command_line);

// The arguments after the program path, from the argv the system handed us.
// Each argv element stands for one quoted argument of the Windows command
// line, so its blanks stay; an empty element is no argument.
std::vector<std::string> hosted_arguments(int argc, const char* const* argv);

// Exactly two arguments select hosted mode.
inline bool is_hosted(const std::vector<std::string>& args) { return args.size() == 2; }

// The direction a word names, "importar" or "exportar" in any ASCII case,
// compared exactly; none for any other word.
std::optional<Direction> direction_of(const std::string& word);

// The host window's id: text-to-integer of "$" followed by the argument, so
// only hexadecimal digits are accepted. Throws Error
// "'$…' no es un valor entero válido" otherwise.
std::uint32_t host_window_id(const std::string& argument);

} // namespace enlazor
