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
    Text8 code = base;
    if (codes_.contains(base)) {
        std::int64_t& n = first_untried_.try_emplace(fold_case(stem), 1).first->second;
        while (codes_.contains(stem + int_to_text(n)))
            ++n;
        code = stem + int_to_text(n);
    }
    codes_.add(code);
    return code;
}

} // namespace enlazor
