// Days 1 to 7 and periods 1 to 40 as DIASHORAST names them by exact text,
// intervals in period order whatever the table's order, and the end times.
#include "import/days_stage.h"
#include "import_fixture.h"

using namespace enlazor;
using namespace enlazor::testing;

namespace {

class DaysAndIntervals : public ImportFixture {
protected:
    void SetUp() override {
        write_empty_tables();
        write_document();
    }

    pugi::xml_node days() { return time_table().child("days"); }
};

TEST_F(DaysAndIntervals, EmptyDayPeriodTableGivesEmptyDays) {
    const ImportSummary summary = import();
    EXPECT_TRUE(days());
    EXPECT_FALSE(days().first_child());
    EXPECT_EQ(summary.days, 0u);
}

TEST_F(DaysAndIntervals, DaysByNumberAndIntervalsByPeriodWhateverTheTableOrder) {
    write_day_periods({
        {"2", "2", "Martes", "8:55", "9:50"},
        {"2", "1", "Martes", "8:00", "8:55"},
        {"1", "10", "Lunes", "16:00", "16:55"},
        {"1", "2", "Lunes", "8:55", "9:50"},
        {"1", "1", "Lunes", "8:00", "8:55"},
    });
    const ImportSummary summary = import();
    EXPECT_EQ(attribute_values(days(), "id"), (std::vector<std::string>{"1", "2"}));
    pugi::xml_node monday = days().first_child();
    EXPECT_EQ(attribute_values(monday, "id"), (std::vector<std::string>{"i1", "i2", "i10"}));
    EXPECT_EQ(attribute_values(monday.next_sibling(), "id"), (std::vector<std::string>{"i1", "i2"}));
    EXPECT_EQ(attributes_of(monday), "id=1 name=Lunes");
    EXPECT_EQ(attributes_of(monday.first_child()), "id=i1 begin=8:00 end=08:55");
    EXPECT_EQ(summary.days, 2u);
    EXPECT_EQ(summary.intervals, 5u);
}

TEST_F(DaysAndIntervals, RecordsOfOnePeriodMakeOneIntervalEachInTableOrder) {
    write_day_periods({
        {"3", "1", "Miércoles", "8:00", "8:30"},
        {"3", "1", "Miércoles", "8:30", "9:00"},
    });
    import();
    pugi::xml_node wednesday = days().first_child();
    EXPECT_STREQ(wednesday.attribute("name").value(), "Miércoles");
    EXPECT_EQ(attribute_values(wednesday, "id"), (std::vector<std::string>{"i1", "i1"}));
    EXPECT_EQ(attribute_values(wednesday, "begin"), (std::vector<std::string>{"8:00", "8:30"}));
}

TEST_F(DaysAndIntervals, DayNameComesFromTheDaysFirstRecord) {
    write_day_periods({
        {"5", "2", "Viernes", "9:00", "10:00"},
        {"5", "1", "VIERNES", "8:00", "9:00"},
    });
    import();
    EXPECT_STREQ(days().first_child().attribute("name").value(), "Viernes");
}

TEST_F(DaysAndIntervals, DayWithoutUsablePeriodsHasNoIntervals) {
    write_day_periods({{"4", "", "Jueves", "", ""}, {"4", "41", "Jueves", "8:00", "9:00"}});
    import();
    EXPECT_EQ(attributes_of(days().first_child()), "id=4 name=Jueves");
    EXPECT_FALSE(days().first_child().first_child());
}

struct NotAPlainNumber {
    std::string dia, hora;
};

class DaysAndIntervalsIgnored : public DaysAndIntervals,
                                public ::testing::WithParamInterface<NotAPlainNumber> {};

TEST_P(DaysAndIntervalsIgnored, OnlyThePlainDecimalTextOfDaysAndPeriodsCounts) {
    write_day_periods({{GetParam().dia, GetParam().hora, "Día", "8:00", "9:00"}});
    const ImportSummary summary = import();
    EXPECT_EQ(summary.intervals, 0u);
}

INSTANTIATE_TEST_SUITE_P(DaysAndIntervals, DaysAndIntervalsIgnored,
                         ::testing::Values(NotAPlainNumber{"01", "1"}, NotAPlainNumber{"0", "1"},
                                           NotAPlainNumber{"8", "1"}, NotAPlainNumber{"1.0", "1"},
                                           NotAPlainNumber{"1", "01"}, NotAPlainNumber{"1", "0"},
                                           NotAPlainNumber{"1", "41"}, NotAPlainNumber{"1", "+1"},
                                           NotAPlainNumber{"1", "1.0"}, NotAPlainNumber{" 1", "1"},
                                           NotAPlainNumber{"1", " 1"}, NotAPlainNumber{"", ""}));

TEST_F(DaysAndIntervals, SeventhDayAndFortiethPeriodAreTheLastOnes) {
    write_day_periods({{"7", "40", "Domingo", "23:00", "23:30"}});
    import();
    EXPECT_EQ(attributes_of(days().first_child().first_child()), "id=i40 begin=23:00 end=23:30");
}

TEST_F(DaysAndIntervals, BeginIsWrittenExactlyAsRead) {
    write_day_periods({{"1", "1", "Lunes", "9:30", "10:30"}});
    import();
    EXPECT_EQ(attributes_of(days().first_child().first_child()), "id=i1 begin=9:30 end=10:30");
}

struct EndTime {
    std::string read, written;
};

class LeadingZero : public ::testing::TestWithParam<EndTime> {};

TEST_P(LeadingZero, ShortEndTimesNotStartingWithZeroGetOne) {
    EXPECT_EQ(with_leading_zero(GetParam().read), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(DaysAndIntervals, LeadingZero,
                         ::testing::Values(EndTime{"9:30", "09:30"}, EndTime{"10:30", "10:30"},
                                           EndTime{"09:30", "09:30"}, EndTime{"930", "0930"},
                                           EndTime{"", ""}, EndTime{"9", "09"},
                                           EndTime{"0:30", "0:30"}, EndTime{"12345", "12345"}));

} // namespace
