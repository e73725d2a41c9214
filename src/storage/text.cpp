// Trimming, cutting, case and the lookup list.
#include "storage/text.h"

#include "platform/code_page.h"
#include "base/error.h"

#include <type_traits>

namespace enlazor {

namespace {

template <typename Text>
Text trimmed(const Text& text) {
    const auto blank = [](auto unit) {
        return static_cast<std::make_unsigned_t<decltype(unit)>>(unit) <= 32;
    };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

} // namespace

WideText trim(const WideText& text) { return trimmed(text); }

Text8 trim(const Text8& text) { return trimmed(text); }

std::string_view trim_view(std::string_view text) { return trimmed(text); }

// The code page has one byte per character and every byte survives the trip
// to wide text and back, so cutting characters is cutting bytes.

Text8 left_part(const Text8& text, int count) {
    if (count <= 0)
        return {};
    return text.substr(0, static_cast<std::size_t>(count));
}

namespace {

template <typename Text>
Text last_units(const Text& text, int count) {
    if (count <= 0)
        return {};
    const auto wanted = static_cast<std::size_t>(count);
    return wanted >= text.size() ? text : text.substr(text.size() - wanted);
}

} // namespace

Text8 right_part(const Text8& text, int count) { return last_units(text, count); }

WideText right_part(const WideText& text, int count) { return last_units(text, count); }

Text8 substring(const Text8& text, int position, int count) {
    const std::size_t first = position <= 0 ? 0 : static_cast<std::size_t>(position) - 1;
    if (first >= text.size() || count <= 0)
        return {};
    return text.substr(first, static_cast<std::size_t>(count));
}

Text8 ascii_lower(const Text8& text) {
    Text8 result = text;
    for (char& byte : result)
        if (byte >= 'A' && byte <= 'Z')
            byte = static_cast<char>(byte + 32);
    return result;
}

Text8 fold_case(const Text8& text) { return platform::case_insensitive_key(text); }

void LookupList::add(const Text8& text) {
    // Only the first of equal entries is ever found, so later ones keep the
    // position already recorded.
    first_position_.try_emplace(fold_case(text), size());
    entries_.push_back(text);
}

bool LookupList::add_if_new(const Text8& text) {
    if (!first_position_.try_emplace(fold_case(text), size()).second)
        return false;
    entries_.push_back(text);
    return true;
}

int LookupList::find(const Text8& text) const {
    const auto found = first_position_.find(fold_case(text));
    return found == first_position_.end() ? -1 : found->second;
}

const Text8& LookupList::at(int position) const {
    if (position < 0 || position >= size())
        throw Error("List index out of bounds (" + int_to_text(position) + ")");
    return entries_[static_cast<std::size_t>(position)];
}

} // namespace enlazor
