// Trimming and the conversions between wide text, Windows-1252 and UTF-8.
#include "storage/text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace enlazor {
namespace {

Text8 byte(unsigned value) { return Text8(1, static_cast<char>(value)); }

TEST(TextTrim, RemovesControlCharactersAndSpacesAtBothEndsOnly) {
    const struct {
        WideText text;
        WideText trimmed;
    } cases[] = {
        {u" \ta b\r\n", u"a b"},
        {u"\u00A0x ", u"\u00A0x"},  // the no-break space is not trimmed
        {u"\u2003x\u3000", u"\u2003x\u3000"},
        {u"a\tb", u"a\tb"},
        {u"", u""},
        {u" \t\r\n\x01\x1F ", u""},
        {WideText(u"\0x\0", 3), u"x"},
        {u"!", u"!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8_from_wide(c.text));
        EXPECT_EQ(trim(c.text), c.trimmed);
    }
}

TEST(TextTrim, WideSpaceTurnedIntoABlankStaysAfterConversion) {
    EXPECT_EQ(to_8bit(trim(u"\u2003Aula 1 ")), " Aula 1");
}

TEST(CodePageConversion, EveryByteSurvivesTheRoundTrip) {
    Text8 all_bytes;
    for (unsigned value = 0; value < 256; ++value)
        all_bytes += static_cast<char>(value);
    const WideText wide = to_wide(all_bytes);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(to_8bit(wide), all_bytes);
}

TEST(CodePageConversion, CharactersOfTheCodePageMapToTheirBytes) {
    const struct {
        char16_t character;
        unsigned byte;
    } cases[] = {
        {u'A', 0x41},    {u'€', 0x80},    {u'‚', 0x82},    {u'ƒ', 0x83},    {u'…', 0x85},
        {u'ˆ', 0x88},    {u'Š', 0x8A},    {u'Œ', 0x8C},    {u'Ž', 0x8E},    {u'‘', 0x91},
        {u'’', 0x92},    {u'“', 0x93},    {u'”', 0x94},    {u'–', 0x96},    {u'—', 0x97},
        {u'˜', 0x98},    {u'™', 0x99},    {u'š', 0x9A},    {u'œ', 0x9C},    {u'ž', 0x9E},
        {u'Ÿ', 0x9F},    {u'\u00A0', 0xA0}, {u'ñ', 0xF1},  {u'Ñ', 0xD1},    {u'ÿ', 0xFF},
        // the five bytes the code page leaves undefined
        {u'\u0081', 0x81}, {u'\u008D', 0x8D}, {u'\u008F', 0x8F}, {u'\u0090', 0x90},
        {u'\u009D', 0x9D},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.byte);
        EXPECT_EQ(to_8bit(WideText(1, c.character)), byte(c.byte));
        EXPECT_EQ(to_wide(byte(c.byte)), WideText(1, c.character));
    }
}

// The letters the system's best fit gives on both systems; the finer
// substitutes (dashes, spaces, combining marks) are each system's own.
TEST(CodePageConversion, LettersTheCodePageLacksBecomeThePlainLetterOrAQuestionMark) {
    EXPECT_EQ(to_8bit(u"āĀłŁŐőğıčĆęż"), "aAlLOogicCez");
    EXPECT_EQ(to_8bit(u"Жд中\uFFFD"), "????");
}

TEST(CodePageConversion, LoneSurrogatesAreEachAQuestionMark) {
    EXPECT_EQ(to_8bit(WideText{u'a', char16_t(0xD800)}), "a?");
    EXPECT_EQ(to_8bit(WideText{char16_t(0xDC00), u'a'}), "?a");
    EXPECT_EQ(to_8bit(WideText{char16_t(0xDC00), char16_t(0xD800)}), "??");
}

TEST(CodePageConversion, WholeCountedTextIsConvertedIncludingZero) {
    EXPECT_EQ(to_8bit(WideText(u"a\0b", 3)), Text8("a\0b", 3));
    EXPECT_EQ(to_wide(Text8("a\0b", 3)), WideText(u"a\0b", 3));
    EXPECT_EQ(to_8bit(u""), "");
    EXPECT_EQ(to_wide(""), u"");
}

TEST(CodePageConversion, Utf8DecodesToUtf16) {
    EXPECT_EQ(wide_from_utf8("Ñandú €"), u"Ñandú €");
    EXPECT_EQ(wide_from_utf8("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(utf8_from_wide(u"Ñandú \U0001F600"), "Ñandú \xF0\x9F\x98\x80");
}

TEST(CodePageConversion, InvalidUtf8GivesOneReplacementPerBadByte) {
    const struct {
        std::string utf8;
        WideText wide;
    } cases[] = {
        {"\xFF", u"\uFFFD"},
        {"a\xC3", u"a\uFFFD"},                                  // cut short at the end
        {"\xE2\x82" "A", u"\uFFFD\uFFFD" "A"},                  // cut short before a letter
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                          // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},                // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},      // beyond U+10FFFF
        {"\x80" "b", u"\uFFFD" "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(wide_from_utf8(c.utf8), c.wide);
    }
}

TEST(CodePageConversion, LoneSurrogateWritesTheReplacementCharacter) {
    EXPECT_EQ(utf8_from_wide(WideText{char16_t(0xD83D), u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(utf8_from_wide(WideText{char16_t(0xDE00)}), "\xEF\xBF\xBD");
}

TEST(CodePageConversion, EveryBasicPlaneCharacterRoundTripsThroughUtf8) {
    for (char32_t code = 0; code < 0x10000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue;
        const WideText wide(1, static_cast<char16_t>(code));
        ASSERT_EQ(wide_from_utf8(utf8_from_wide(wide)), wide) << "U+" << std::hex << static_cast<unsigned>(code);
    }
}

TEST(CodePageConversion, ArbitraryBytesAlwaysGiveWellFormedUtf8) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> any_byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(static_cast<std::size_t>(round % 17), '\0');
        for (char& b : bytes)
            b = static_cast<char>(any_byte(random));
        const std::string utf8 = utf8_from_wide(wide_from_utf8(bytes));
        // Well-formed text passes through unchanged.
        ASSERT_EQ(utf8_from_wide(wide_from_utf8(utf8)), utf8);
    }
}

TEST(CodePageConversion, EightBitTextToAndFromUtf8) {
    EXPECT_EQ(utf8_from_8bit("\xC9XPORTAR \x80"), "ÉXPORTAR €");
    EXPECT_EQ(to_8bit_from_utf8("Ñandú ā \xFF"), "\xD1" "and\xFA a ?");
}

} // namespace
} // namespace enlazor
