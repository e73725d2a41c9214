#include "shell/system/profile_ini.h"

#include "platform/executable_folder.h"
#include "platform/code_page.h"

#include <optional>
#include <vector>

namespace enlazor {

namespace {

struct Line {
    std::string_view text;  // without its line ending
    std::string_view eol;   // "\r\n", "\n", "\r" or "" for an unterminated last line
};

std::vector<Line> split_lines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({content.substr(start), {}});
            break;
        }
        std::size_t eol_len = (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? 2 : 1;
        lines.push_back({content.substr(start, end - start), content.substr(end, eol_len)});
        start = end + eol_len;
    }
    return lines;
}

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool same_name(std::string_view a, std::string_view b) {
    return platform::case_insensitive_key(std::string(a)) == platform::case_insensitive_key(std::string(b));
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> section_of(std::string_view line) {
    line = trim_blanks(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    std::size_t close = line.find(']');
    return trim_blanks(close == std::string_view::npos ? line : line.substr(0, close));
}

// The key of a "key=value" line, or nullopt for comments and other lines.
std::optional<std::string_view> key_of(std::string_view line) {
    std::string_view t = trim_blanks(line);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return trim_blanks(line.substr(0, eq));
}

std::string_view preferred_eol(std::string_view content) {
    if (content.find("\r\n") != std::string_view::npos)
        return "\r\n";
    if (content.find('\n') != std::string_view::npos)
        return "\n";
    return "\r\n";
}

} // namespace

std::string set_profile_value(std::string_view content, std::string_view section,
                              std::string_view key, std::string_view value) {
    const std::vector<Line> lines = split_lines(content);
    const std::string_view eol = preferred_eol(content);

    // Find the first section of that name, the line of its key, and its last
    // non-blank line (where a missing key goes).
    std::optional<std::size_t> section_line, key_line, last_in_section;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = section_of(lines[i].text)) {
            if (section_line)
                break;  // the section ended
            if (same_name(*name, section)) {
                section_line = i;
                last_in_section = i;
            }
            continue;
        }
        if (!section_line)
            continue;
        if (!trim_blanks(lines[i].text).empty())
            last_in_section = i;
        if (auto k = key_of(lines[i].text); k && same_name(*k, key) && !key_line)
            key_line = i;
    }

    std::string out;
    out.reserve(content.size() + section.size() + key.size() + value.size() + 8);
    const auto append_line = [&](std::string_view text, std::string_view ending) {
        out.append(text);
        out.append(ending);
    };
    const std::string new_entry = std::string(key) + "=" + std::string(value);

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (key_line && i == *key_line) {
            // Keep the key as the file spells it; only the value changes.
            std::size_t eq = line.text.find('=');
            out.append(line.text.substr(0, eq + 1));
            out.append(value);
            out.append(line.eol);
            continue;
        }
        append_line(line.text, line.eol);
        if (!key_line && last_in_section && i == *last_in_section) {
            if (line.eol.empty())
                out.append(eol);
            append_line(new_entry, eol);
        }
    }
    if (!section_line) {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r')
            out.append(eol);
        append_line("[" + std::string(section) + "]", eol);
        append_line(new_entry, eol);
    }
    return out;
}

std::string read_profile_value(std::string_view content, std::string_view section,
                               std::string_view key) {
    bool in_section = false;
    for (const Line& line : split_lines(content)) {
        if (auto name = section_of(line.text)) {
            if (in_section)
                break;
            in_section = same_name(*name, section);
            continue;
        }
        if (!in_section)
            continue;
        if (auto k = key_of(line.text); k && same_name(*k, key))
            return std::string(trim_blanks(line.text.substr(line.text.find('=') + 1)));
    }
    return {};
}

std::filesystem::path completion_ini_path() {
    return executable_folder() / "Horalis.ini";
}

} // namespace enlazor
