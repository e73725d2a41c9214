// ASIGT's hours and lesson pattern: the subject's hours text read with the
// system's decimal separator, stored, read back, and turned into lessons.
#include "export/lesson_pattern.h"
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <limits>

namespace enlazor::testing {
namespace {

Text8 ones(int count) { return Text8(static_cast<std::size_t>(count), '1'); }

struct HoursCase {
    const char* title;
    char separator;
    const char* hours_attribute;
    Text8 horas;     // HORAS as text, written with the same separator
    Text8 sesiones;
};

class LessonPattern : public ::testing::TestWithParam<HoursCase> {};

TEST_P(LessonPattern, FollowsTheHoursStoredInTheRecord) {
    TempDir dir;
    export_xml(saga_document(std::string("<subjects><subject id='S' name='N' hours='") +
                             GetParam().hours_attribute + "'/></subjects>"
                             "<groups><group id='G' name='1 ESO A' regim='M'>a"
                             "<assigned-subjects><assigned-subject id='S'/></assigned-subjects>"
                             "</group></groups>"),
               dir.path(), GetParam().separator);
    const TableContents asigt = read_table(dir.path(), "ASIGT", GetParam().separator);
    ASSERT_EQ(asigt.rows.size(), 1u);
    EXPECT_EQ(asigt.column("HORAS")[0], GetParam().horas);
    EXPECT_EQ(asigt.column("SESIONES")[0], GetParam().sesiones);
}

INSTANTIATE_TEST_SUITE_P(Hours, LessonPattern, ::testing::Values(
    HoursCase{"Whole", ',', "4", "4", "1111"},
    HoursCase{"PointBecomesComma", ',', "2.5", "2,5", "111"},
    HoursCase{"CommaAsWritten", ',', "2,5", "2,5", "111"},
    HoursCase{"PointSeparatorRejectsPoint", '.', "2.5", "1", "1"},
    HoursCase{"PointSeparatorRejectsComma", '.', "2,5", "1", "1"},
    HoursCase{"PointSeparatorWhole", '.', "3", "3", "111"},
    HoursCase{"NotANumberCountsAsOne", ',', "abc", "1", "1"},
    HoursCase{"Zero", ',', "0", "0", ""},
    HoursCase{"Negative", ',', "-3", "-3", ""},
    HoursCase{"Thirteen", ',', "13", "13", ones(13)},
    HoursCase{"Fourteen", ',', "14", "14", ones(14)},
    HoursCase{"FractionAboveThirteen", ',', "13.2", "13,2", ones(14)},
    HoursCase{"Fifteen", ',', "15", "15", "2" + ones(13)},
    HoursCase{"TwentyTwo", ',', "22", "22", "9" + ones(13)},
    HoursCase{"TwentyThree", ',', "23", "23", "10" + ones(13)},
    HoursCase{"Exponent", ',', "1e2", "100", "87" + ones(13)},
    HoursCase{"LargeCountCutByTheField", ',', "12345678", "12345678",
              "12345665" + ones(12)},
    // Counts beyond 32 bits saturate; the field cuts the pattern.
    HoursCase{"BeyondACount", ',', "1e10", "10000000000", "2147483634" + ones(10)},
    // A value beyond the range of numbers is no number: 1 hour.
    HoursCase{"BeyondTheRangeOfNumbers", ',', "1e400", "1", "1"},
    HoursCase{"BelowTheRangeOfNumbers", ',', "-1e400", "1", "1"},
    // The field keeps ten decimals: what it stores, not what was typed, counts.
    HoursCase{"BeyondTheStoredDecimals", ',', "13.00000000001", "13", ones(13)}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(LessonPatternRule, CountsAboveThirteenCarryTheirExcessInFront) {
    EXPECT_EQ(lesson_pattern(std::numeric_limits<std::int32_t>::min()), "");
    EXPECT_EQ(lesson_pattern(std::numeric_limits<std::int32_t>::max()),
              "2147483634" + ones(13));
}

} // namespace
} // namespace enlazor::testing
