// Integers and floating-point values to text and back, and the ceiling.
#include "base/error.h"
#include "storage/text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace enlazor {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

TEST(IntegerToText, WritesPlainDecimalDigits) {
    EXPECT_EQ(int_to_text(-5), "-5");
    EXPECT_EQ(int_to_text(0), "0");
    EXPECT_EQ("a" + int_to_text(12), "a12");
    EXPECT_EQ(int_to_text(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(int_to_text(INT64_MAX), "9223372036854775807");
}

TEST(TextToInteger, ReadsDecimalAndHexadecimalForms) {
    const struct {
        Text8 text;
        std::int32_t value;
    } cases[] = {
        {"$1A2B", 6699},          {"$ff", 255},
        {"$FFFFFFFF", -1},        {" 12", 12},
        {"0", 0},                 {"-0", 0},
        {"+7", 7},                {"-5", -5},
        {"   -12", -12},          {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN}, {"00000000000000000012", 12},
        {"0x10", 16},             {"0X1f", 31},
        {"x10", 16},              {"X10", 16},
        {"-$10", -16},            {"+$10", 16},
        {"$7FFFFFFF", INT_MAX},   {"$80000000", INT_MIN},
        {"-$80000000", INT_MIN},  {"-$FFFFFFFF", 1},
        {"$000000000001", 1},     {"$0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text_to_int(c.text), c.value);
    }
}

TEST(TextToInteger, RejectsAnythingOutsideTheForm) {
    const Text8 cases[] = {
        "12 ", "$", "$0x10", "", " ", "\t12", "1 2", "+", "-", "+-1", "--1", "$-1",
        "2147483648", "-2147483649", "99999999999999999999999", "$100000000", "$123456789",
        "0x", "x", "1.0", "1e3", "$G", "12a", " $ 1A", Text8("12\0", 3), "\xD1",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text);
        EXPECT_THROW(text_to_int(text), Error);
    }
}

TEST(TextToInteger, ErrorQuotesTheWholeTextInUtf8) {
    const struct {
        Text8 text;
        const char* message;
    } cases[] = {
        {"", "'' no es un valor entero válido"},
        {"$0x1A2B", "'$0x1A2B' no es un valor entero válido"},
        {"A\xD1o ", "'AÑo ' no es un valor entero válido"},
    };
    for (const auto& c : cases) {
        try {
            text_to_int(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

struct FloatCase {
    Text8 text;
    double value;
};

TEST(TextToFloat, ReadsTheFormWithTheCommaSeparator) {
    const FloatCase cases[] = {
        {"2,5", 2.5},        {"2.5", 1},          {" 4 ", 4},          {"1e2", 100},
        {",", 0},            {"", 1},             {"abc", 1},          {"-3", -3},
        {"+,5", 0.5},        {"5,", 5},           {"3E", 3},           {"2e-1", 0.2},
        {"2E+1", 20},        {"0,1", 0.1},        {"1e0000000002", 100}, {"1e499", infinity},
        {"1e500", 1},        {"1e-499", 0},       {"1e4990", 1},       {"\t4", 1},
        {"4\t", 1},          {"1,2,3", 1},        {" ", 1},            {"-", 1},
        {"e5", 1},           {"1 e5", 1},         {"1e 5", 1},         {"1e5 ", 100000},
        {"++1", 1},          {"0,30000000000000004", 0.1 + 0.2},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"4,9406564584124654e-324", 4.9406564584124654e-324},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text_to_float(c.text, 1, ','), c.value);
    }
}

TEST(TextToFloat, OnlyTheGivenSeparatorIsAccepted) {
    EXPECT_EQ(text_to_float("2.5", 1, '.'), 2.5);
    EXPECT_EQ(text_to_float("2,5", 1, '.'), 1);
    EXPECT_EQ(parse_float("2.5", ','), std::nullopt);
    EXPECT_EQ(parse_float("7,25", ','), 7.25);
}

TEST(TextToFloat, RoundsCorrectlyToTheNearestValue) {
    // 2^53 + 1 lies halfway between two doubles: ties go to the even one, and
    // any further digit decides for the upper one.
    EXPECT_EQ(text_to_float("9007199254740993", 0, ','), 9007199254740992.0);
    EXPECT_EQ(text_to_float("9007199254740993,0000000001", 0, ','), 9007199254740994.0);
    const Text8 many_zeros = "0," + std::string(600, '0') + "1e499";
    EXPECT_EQ(text_to_float(many_zeros, 0, ','), 1e-102);
    const Text8 long_integer = "1" + std::string(400, '0') + "e-400";
    EXPECT_EQ(text_to_float(long_integer, 0, ','), 1.0);
}

TEST(TextToFloat, NegativeZeroKeepsItsSign) {
    const std::optional<double> value = parse_float("-,", ',');
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, 0.0);
    EXPECT_TRUE(std::signbit(*value));
}

TEST(FloatToText, WritesFifteenDigitsPlainOrScientific) {
    const struct {
        double value;
        Text8 text;
    } cases[] = {
        {3, "3"},
        {5, "5"},
        {-1, "-1"},
        {2.5, "2,5"},
        {0.1 + 0.2, "0,3"},
        {0.0001, "0,0001"},
        {0.001, "0,001"},
        {0.00001, "1E-5"},
        {1e16, "1E16"},
        {1e15, "1E15"},
        {1e15 - 1, "999999999999999"},
        {0.0, "0"},
        {-0.0, "0"},
        {100, "100"},
        {123.456, "123,456"},
        {1234567.5, "1234567,5"},
        {150000000000000, "150000000000000"},
        {-2.5e-7, "-2,5E-7"},
        {1.5e300, "1,5E300"},
        {1e-300, "1E-300"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {0.9999999999999999, "1"},
        {999999999999999.9, "1E15"},                // rounding carries into a new digit
        {123456789012344.5, "123456789012345"},     // an exact tie rounds up
        {1e23, "1E23"},
        {12345678901234567890.0, "1,23456789012346E19"},
        {DBL_MAX, "1,79769313486232E308"},
        {4.9406564584124654e-324, "4,94065645841247E-324"},
        {infinity, "INF"},
        {-infinity, "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(float_to_text(c.value, ','), c.text);
    }
}

TEST(FloatToText, UsesTheGivenSeparator) {
    EXPECT_EQ(float_to_text(2.5, '.'), "2.5");
    EXPECT_EQ(float_to_text(2.5e-20, '.'), "2.5E-20");
}

TEST(FloatToText, FifteenDigitDecimalsReadAndWriteBackUnchanged) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> mantissa(100000000000000, 999999999999999);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 5000; ++i) {
        Text8 digits = int_to_text(mantissa(random));
        while (digits.back() == '0')
            digits.pop_back();
        const int e = exponent(random);
        const Text8 scientific = digits.substr(0, 1) +
                                 (digits.size() > 1 ? "," + digits.substr(1) : "") + "E" +
                                 int_to_text(e);
        const double value = text_to_float(scientific, 0, ',');
        const Text8 written = float_to_text(value, ',');
        ASSERT_EQ(text_to_float(written, 0, ','), value) << scientific << " -> " << written;
        if (e < -4 || e > 14) {
            ASSERT_EQ(written, scientific);
        }
    }
}

TEST(Ceiling, TruncatesAndAddsOneForAPositiveRemainder) {
    const struct {
        double value;
        std::int32_t ceiling;
    } cases[] = {
        {2, 2},
        {2.0001, 3},
        {0, 0},
        {-0.0, 0},
        {-0.5, 0},
        {-2.5, -2},
        {13.5, 14},
        {13, 13},
        {1e-300, 1},
        {-1e-300, 0},
        {2147483646.5, INT_MAX},
        {2147483647, INT_MAX},
        {3e9, INT_MAX},
        {infinity, INT_MAX},
        {-2147483648.0, INT_MIN},
        {-2147483648.5, INT_MIN},
        {-3e9, INT_MIN},
        {-infinity, INT_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ceiling(c.value), c.ceiling);
    }
}

} // namespace
} // namespace enlazor
