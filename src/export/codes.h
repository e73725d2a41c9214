// The short codes by which Horalis names subjects, teachers, rooms and
// groups, derived from SAGA's ids and names.
#pragma once

#include "storage/text.h"

#include <cstdint>
#include <unordered_map>

namespace enlazor {

// The first character of the name and every character that follows a
// space (code 32 only; a tab does not separate words). Two spaces in a row
// put the second space into the initials. Case and punctuation stay.
Text8 initials(const Text8& name);

// The subject code: the last 4 characters of the subject id, never numbered,
// so two ids ending alike share it.
Text8 subject_code(const Text8& subject_id);

// The base of the long subject code: the first 5 characters of the name.
Text8 long_subject_base(const Text8& subject_name);

// The codes one table has given so far, compared ignoring case (abg and ABG
// are one code). The list keeps each code whole, as numbered, even where
// the table's field stores less of it: ABG10 stays apart from ABG1 here,
// though both are stored as ABG1 in a 4-character field.
class UsedCodes {
public:
    // The numbering rule: the base when it is free, otherwise the stem
    // followed by the first of 1, 2, 3, ... that gives a free code. The code
    // is recorded before it is returned.
    Text8 claim(const Text8& base, const Text8& stem);

private:
    LookupList codes_;
    // Folded stem -> a number below which every candidate is known taken.
    // Codes are never released, so a taken candidate stays taken and the
    // search can resume where the last one for the same stem stopped: long
    // runs of equal names cost linear time, not quadratic.
    std::unordered_map<Text8, std::int64_t> first_untried_;
};

} // namespace enlazor
