// Linux's stand-in for the system's conversion: Windows-1252 with the best-fit
// substitutes a Windows machine gives, and a letter followed by a combining
// accent joined into the composed letter.
#include "storage/text.h"

#include <gtest/gtest.h>

#include <string>

namespace enlazor {
namespace {

TEST(CodePageConversion, MissingCharactersTakeTheirBestFitOrAQuestionMark) {
    const struct {
        WideText text;
        Text8 converted;
    } cases[] = {
        // letters with a diacritic the code page lacks become the plain letter
        {u"āĀłŁŐőșȘțȚğıčĆęż", "aAlLOosStTgicCez"},
        {u"ǎǗȁạỹẞ", "aUaay?"},
        {u"Ǽǽǿ", "\xC6\xE6\xF8"},  // the nearest letter 1252 has: Æ æ ø
        // dashes, primes and spaces
        {u"\u2010\u2011\u2012\u2015\u2212", "-----"},
        {u"5\u2032 7\u2033", "5' 7\""},
        {u"\u2000\u2009\u200A\u202F\u205F\u3000", "      "},
        {u"\uFF21\uFF42\uFF11", "Ab1"},
        // nothing near enough
        {u"Жд中\uFFFD", "????"},
        {u"\u0080\u009F", "??"},  // control characters 1252 puts letters in place of
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8_from_wide(c.text));
        EXPECT_EQ(to_8bit(c.text), c.converted);
    }
}

TEST(CodePageConversion, CharacterBeyondTheBasicPlaneIsOneQuestionMark) {
    EXPECT_EQ(to_8bit(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(to_8bit(u"\U0010FFFF"), "?");
}

TEST(CodePageConversion, CombiningMarkJoinsItsLetterOrIsLeftOut) {
    const struct {
        WideText text;
        Text8 converted;
    } cases[] = {
        {u"Jose\u0301", "Jos\xE9"},
        {u"N\u0303u\u0308", "\xD1\xFC"},
        {u"S\u030C", "\x8A"},             // Š
        {u"Y\u0308", "\x9F"},             // Ÿ
        {u"a\u0328", "a"},                // ą: the plain letter
        {u"e\u0301\u0301", "\xE9"},        // a second mark has nothing to join
        {u"\u0301x", "x"},
        {u"5\u0301", "5"},
        {u"\u00E9\u0301", "\xE9"},         // é already carries its accent
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8_from_wide(c.text));
        EXPECT_EQ(to_8bit(c.text), c.converted);
    }
}

TEST(LookupList, SharpSIsNotDoubleS) {
    LookupList list;
    list.add("\xDF");
    EXPECT_EQ(list.find("ss"), -1);
}

} // namespace
} // namespace enlazor
