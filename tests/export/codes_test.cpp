// The code rules on their own: initials, and the numbering rule against a
// plain first-match scan of the used codes.
#include "export/codes.h"

#include <gtest/gtest.h>

#include <random>

namespace enlazor {
namespace {

struct InitialsCase {
    const char* name;
    const char* initials;
};

class InitialsRule : public ::testing::TestWithParam<InitialsCase> {};

TEST_P(InitialsRule, TakesTheFirstCharacterAndEachOneAfterASpace) {
    EXPECT_EQ(initials(GetParam().name), GetParam().initials);
}

INSTANTIATE_TEST_SUITE_P(Names, InitialsRule, ::testing::Values(
    InitialsCase{"Alfa Beta Gamma", "ABG"},
    InitialsCase{"Alfa Delta Eco Foxtrot", "ADEF"},
    InitialsCase{"alfa beta gamma", "abg"},
    InitialsCase{"Gimnasio", "G"},
    InitialsCase{"", ""},
    InitialsCase{"A", "A"},
    InitialsCase{"Aula  7", "A 7"},          // the second of two spaces is an initial
    InitialsCase{"Alfa\tBeta", "A"},         // only code 32 separates words
    InitialsCase{"Aula 12", "A1"},           // digits count like letters
    InitialsCase{"1 ESO A", "1EA"},
    InitialsCase{"A B ", "AB"},              // the last character is never examined
    InitialsCase{"Carmen de la Fuente", "CdlF"},
    InitialsCase{"Ana-Belén Ruiz", "AR"}));  // a hyphen joins words

// The numbering rule written as plainly as possible: scan the used codes
// from the first for an entry equal ignoring case.
class ScanningCodes {
public:
    Text8 claim(const Text8& base, const Text8& stem) {
        Text8 code = base;
        for (long n = 1; taken(code); ++n)
            code = stem + std::to_string(n);
        used_folded_.push_back(fold_case(code));
        return code;
    }

private:
    bool taken(const Text8& code) const {
        const Text8 folded = fold_case(code);
        for (const Text8& used : used_folded_)
            if (used == folded)
                return true;
        return false;
    }
    std::vector<Text8> used_folded_;
};

TEST(CodeNumbering, GivesTheSameCodesAsAFirstMatchScan) {
    // Bases that collide with each other's numbered forms, in both cases.
    const std::vector<Text8> bases = {"A", "a", "A1", "a1", "A11", "A2", "", "1", "ABG",
                                      "abg", "ABG1", "ABGX", "AB", "\xd1" "A", "\xf1" "a"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, bases.size() - 1);
    for (int stem_length : {2, 3, 5}) {
        UsedCodes fast;
        ScanningCodes plain;
        for (int i = 0; i < 600; ++i) {
            const Text8& base = bases[pick(random)];
            const Text8 stem = base.substr(0, static_cast<std::size_t>(stem_length));
            ASSERT_EQ(fast.claim(base, stem), plain.claim(base, stem)) << "claim " << i;
        }
    }
}

} // namespace
} // namespace enlazor
