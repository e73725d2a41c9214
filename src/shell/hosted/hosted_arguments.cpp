#include "shell/hosted/hosted_arguments.h"

#include "storage/text.h"

namespace enlazor {

std::vector<std::string> split_command_line(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    const auto is_separator = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (i < line.size()) {
        while (i < line.size() && is_separator(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !is_separator(line[i]))) {
            if (line[i] == '"')
                quoted = !quoted;
            else
                arg += line[i];
            ++i;
        }
        // "" alone yields nothing: it is no argument at all.
        if (!arg.empty())
            args.push_back(std::move(arg));
    }
    return args;
}

std::vector<std::string> hosted_arguments(int argc, const char* const* argv) {
    // Each argv element stands for one quoted argument of the Windows command
    // line: its quotes are dropped and, if nothing is left, it is no
    // argument. Rejoining and splitting again would let a quote inside an
    // element change the number of arguments, and with it the mode.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (!argv[i])
            continue;
        Text8 arg = to_8bit_from_utf8(argv[i]);  // the program's text is 8-bit
        std::erase(arg, '"');
        if (!arg.empty())
            args.push_back(std::move(arg));
    }
    return args;
}

std::optional<Direction> direction_of(const std::string& word) {
    const Text8 lower = ascii_lower(word);
    if (exact_equal(lower, "importar"))
        return Direction::Import;
    if (exact_equal(lower, "exportar"))
        return Direction::Export;
    return std::nullopt;
}

std::uint32_t host_window_id(const std::string& argument) {
    return static_cast<std::uint32_t>(text_to_int("$" + argument));
}

} // namespace enlazor
