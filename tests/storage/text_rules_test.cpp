// Cutting, case and comparison of 8-bit text, the lookup list and the
// error box text.
#include "base/error.h"
#include "storage/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace enlazor {
namespace {

struct CutCase {
    Text8 text;
    int count;
    Text8 part;
};

TEST(TextCutting, LeftPartTakesTheFirstCharacters) {
    const CutCase cases[] = {
        {"ABC", 4, "ABC"},    {"ABC", 3, "ABC"},      {"ABC", 2, "AB"},
        {"ABC", 0, ""},       {"ABC", -1, ""},        {"", 3, ""},
        {"ABC", INT_MAX, "ABC"}, {"ABC", INT_MIN, ""}, {"\xD1\x81x", 2, "\xD1\x81"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " " + std::to_string(c.count));
        EXPECT_EQ(left_part(c.text, c.count), c.part);
    }
}

TEST(TextCutting, RightPartTakesTheLastCharacters) {
    const CutCase cases[] = {
        {"ABCDEFG", 4, "DEFG"}, {"ABC", 5, "ABC"},       {"ABC", 3, "ABC"},
        {"ABC", 0, ""},         {"ABC", -3, ""},         {"", 1, ""},
        {"ABC", INT_MAX, "ABC"}, {"ABC", INT_MIN, ""},   {"x\x9D\xFF", 2, "\x9D\xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " " + std::to_string(c.count));
        EXPECT_EQ(right_part(c.text, c.count), c.part);
    }
}

TEST(TextCutting, RightPartOfWideTextCountsCodeUnits) {
    EXPECT_EQ(right_part(WideText(u"Diurno"), 4), u"urno");
    EXPECT_EQ(right_part(WideText(u"ñá"), 9), u"ñá");
    EXPECT_EQ(right_part(WideText(u"ABC"), 0), u"");
    EXPECT_EQ(right_part(WideText(u"ABC"), INT_MIN), u"");
}

TEST(TextCutting, SubstringCountsBytesFromPositionOne) {
    const struct {
        Text8 text;
        int position;
        int count;
        Text8 part;
    } cases[] = {
        {"Lengua castellana", 1, 5, "Lengu"},
        {"ABC", 0, 2, "AB"},
        {"ABC", -5, 2, "AB"},  // the count is not reduced for the moved position
        {"ABC", 4, 1, ""},
        {"ABC", 3, -1, ""},
        {"ABC", 3, 1, "C"},
        {"ABC", 2, 0, ""},
        {"ABC", 2, INT_MAX, "BC"},
        {"ABC", INT_MAX, 1, ""},
        {"ABC", INT_MIN, 1, "A"},
        {"", 1, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " " + std::to_string(c.position) + " " + std::to_string(c.count));
        EXPECT_EQ(substring(c.text, c.position, c.count), c.part);
    }
}

TEST(TextCutting, AsciiLowerCaseLeavesAccentedCapitals) {
    EXPECT_EQ(ascii_lower("\xC9XPORTAR"), "\xC9xportar");
    EXPECT_FALSE(exact_equal(ascii_lower("\xC9XPORTAR"), "exportar"));
    EXPECT_EQ(ascii_lower("ImPoRtAr"), "importar");
    for (unsigned value = 0; value < 256; ++value) {
        const Text8 one(1, static_cast<char>(value));
        const bool capital = value >= 'A' && value <= 'Z';
        EXPECT_EQ(ascii_lower(one), capital ? Text8(1, static_cast<char>(value + 32)) : one);
    }
}

TEST(TextCutting, ExactComparisonComparesEveryByte) {
    EXPECT_FALSE(exact_equal("1A", "1a"));
    EXPECT_FALSE(exact_equal("MAT ", "MAT"));
    EXPECT_TRUE(exact_equal("", ""));
    EXPECT_FALSE(exact_equal(Text8("a\0", 2), "a"));
    EXPECT_TRUE(exact_equal("\xD1", "\xD1"));
}

TEST(LookupList, FindGivesTheFirstEntryEqualIgnoringCase) {
    LookupList list;
    list.add("ABG");
    list.add("abg");
    list.add("");
    EXPECT_EQ(list.find("abg"), 0);
    EXPECT_EQ(list.find("aBg"), 0);
    EXPECT_EQ(list.find(""), 2);
    EXPECT_EQ(list.find("ab"), -1);
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(1), "abg");
    EXPECT_TRUE(list.contains("ABG"));
    EXPECT_FALSE(list.contains("ABGX"));
}

TEST(LookupList, EmptyListFindsNothing) {
    const LookupList list;
    EXPECT_EQ(list.find(""), -1);
    EXPECT_EQ(list.size(), 0);
}

TEST(LookupList, CaseFoldCoversEveryLetterOfTheCodePageAndNothingElse) {
    const struct {
        Text8 entry;
        Text8 probe;
        bool equal;
    } cases[] = {
        {"\xD1", "\xF1", true},           // Ñ ñ
        {"\xC9", "\xE9", true},           // É é
        {"\xC0\xDE", "\xE0\xFE", true},   // ÀÞ àþ
        {"\x8A\x8C\x8E", "\x9A\x9C\x9E", true},  // ŠŒŽ šœž
        {"\x9F", "\xFF", true},           // Ÿ ÿ
        {"\xE9", "e", false},             // é is not e
        {"\xF1", "n", false},
        {"\xD7", "\xF7", false},          // × and ÷ are not letters
        {"co-op", "coop", false},         // punctuation counts
        {"o'neil", "oneil", false},
        {"a ", "a", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8_from_8bit(c.entry) + " / " + utf8_from_8bit(c.probe));
        LookupList list;
        list.add(c.entry);
        EXPECT_EQ(list.find(c.probe), c.equal ? 0 : -1);
    }
}

TEST(LookupList, IndexedFindEqualsAScanFromTheFirstEntry) {
    std::mt19937 random(2024);
    const std::string alphabet = "aAbB\xF1\xD1-";
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 3);
    const auto random_text = [&] {
        Text8 text;
        for (int i = length(random); i > 0; --i)
            text += alphabet[letter(random)];
        return text;
    };
    LookupList list;
    std::vector<Text8> entries;
    for (int i = 0; i < 300; ++i) {
        entries.push_back(random_text());
        list.add(entries.back());
        const Text8 probe = random_text();
        int scanned = -1;
        for (std::size_t j = 0; j < entries.size() && scanned < 0; ++j)
            if (fold_case(entries[j]) == fold_case(probe))
                scanned = static_cast<int>(j);
        ASSERT_EQ(list.find(probe), scanned) << probe;
    }
}

TEST(LookupList, ReadingOutsideTheEntriesFailsWithThePosition) {
    LookupList list;
    list.add("A");
    const struct {
        int position;
        const char* message;
    } cases[] = {
        {-1, "List index out of bounds (-1)"},
        {1, "List index out of bounds (1)"},
        {INT_MIN, "List index out of bounds (-2147483648)"},
        {INT_MAX, "List index out of bounds (2147483647)"},
    };
    for (const auto& c : cases) {
        try {
            list.at(c.position);
            ADD_FAILURE() << "no error at " << c.position;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    EXPECT_EQ(list.at(0), "A");
}

TEST(ErrorBox, AddsAFullStopAfterCharactersThatSortAfterIt) {
    const struct {
        std::string message;
        std::string shown;
    } cases[] = {
        {"'' no es un valor entero válido", "'' no es un valor entero válido."},
        {"List index out of bounds (-1)", "List index out of bounds (-1)"},
        {"Fin.", "Fin."},
        {"¿Qué?", "¿Qué?."},
        {"¡Ya!", "¡Ya!"},
        {"está", "está."},  // the last byte of a UTF-8 letter sorts after "."
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(error_box_text(c.message), c.shown) << c.message;
}

} // namespace
} // namespace enlazor
