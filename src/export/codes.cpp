#include "export/codes.h"

namespace enlazor {

Text8 initials(const Text8& name) {
    Text8 result = name.substr(0, 1);
    // The last character is never examined: nothing follows it.
    for (std::size_t i = 1; i + 1 < name.size(); ++i)
        if (name[i] == ' ')
            result += name[i + 1];
    return result;
}

Text8 subject_code(const Text8& subject_id) { return right_part(subject_id, 4); }

Text8 long_subject_base(const Text8& subject_name) { return substring(subject_name, 1, 5); }

Text8 UsedCodes::claim(const Text8& base, const Text8& stem) {
    if (codes_.add_if_new(base))
        return base;
    std::int64_t& n = first_untried_.try_emplace(fold_case(stem), 1).first->second;
    for (;; ++n) {
        Text8 code = stem + int_to_text(n);
        if (codes_.add_if_new(code))
            return code;
    }
}

} // namespace enlazor
