// One input per placed lesson: numbering, day, interval (with the half-session
// rule), activity, and the group, member and location found by code.
#include "import/inputs_stage.h"
#include "import_fixture.h"

#include <cmath>
#include <limits>

using namespace enlazor;
using namespace enlazor::testing;

namespace {

class Inputs : public ImportFixture {
protected:
    void SetUp() override {
        write_empty_tables();
        write_document();
        write_subjects({{"S1", "SB-1", "Lengua"}});
        write_groups({{"1A", "GR-1"}, {"2B", ""}, {"1A", "GR-SECOND"}});
        write_teachers({{"ABG", "PR-1"}});
        write_rooms({{"A1", "LC-1"}});
    }

    static Lesson lesson(const std::string& day, const std::string& hora = "1",
                         const std::string& sesiones = "1") {
        return {"1A", "ABG", "S1", "A1", day, hora, sesiones};
    }
};

TEST_F(Inputs, EachInputHasItsAttributesAndThreeListsInOrder) {
    write_solution({lesson("3", "2")});
    import();
    ASSERT_EQ(inputs().size(), 1u);
    pugi::xml_node input = inputs()[0];
    EXPECT_EQ(attributes_of(input), "id=input1 day=3 interval=i2 activity=a1");
    EXPECT_EQ(child_names(input), (std::vector<std::string>{"groups", "members", "locations"}));
    EXPECT_EQ(child_names(input.child("groups")), std::vector<std::string>{"group"});
    EXPECT_EQ(attributes_of(input.child("groups").child("group")), "id=GR-1");
    EXPECT_EQ(attributes_of(input.child("members").child("member")), "id=PR-1");
    EXPECT_EQ(attributes_of(input.child("locations").child("location")), "id=LC-1");
}

TEST_F(Inputs, UnplacedLessonsMakeNoInputAndTakeNoNumber) {
    write_solution({lesson("1"), lesson("0"), lesson("2"), lesson("0"), lesson("5")});
    const ImportSummary summary = import();
    std::vector<std::string> ids, days;
    for (pugi::xml_node input : inputs()) {
        ids.push_back(input.attribute("id").value());
        days.push_back(input.attribute("day").value());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"input1", "input2", "input3"}));
    EXPECT_EQ(days, (std::vector<std::string>{"1", "2", "5"}));
    EXPECT_EQ(summary.inputs, 3u);
}

TEST_F(Inputs, CodesWithoutCatalogRecordStandForThemselves) {
    write_solution({{"9Z", "QQ", "S1", "R7", "1", "1", "1"}});
    import();
    pugi::xml_node input = inputs().at(0);
    EXPECT_EQ(attributes_of(input.child("groups").child("group")), "id=9Z");
    EXPECT_EQ(attributes_of(input.child("members").child("member")), "id=QQ");
    EXPECT_EQ(attributes_of(input.child("locations").child("location")), "id=R7");
}

TEST_F(Inputs, EmptyLookUpResultGivesAnItemWithoutId) {
    // 2B's identifier is empty; no room has an empty code, so the empty AULA stays empty.
    write_solution({{"2B", "", "S1", "", "1", "1", "1"}});
    import();
    pugi::xml_node input = inputs().at(0);
    EXPECT_TRUE(input.child("groups").child("group"));
    EXPECT_EQ(attributes_of(input.child("groups").child("group")), "");
    EXPECT_EQ(attributes_of(input.child("members").child("member")), "");
    EXPECT_TRUE(input.child("locations").child("location"));
    EXPECT_EQ(attributes_of(input.child("locations").child("location")), "");
}

TEST_F(Inputs, EmptyRoomCodeMatchesARoomWithEmptyCode) {
    write_rooms({{"A1", "LC-1"}, {"", "LC-PATIO"}, {"", "LC-OTHER"}});
    write_solution({{"1A", "ABG", "S1", "", "1", "1", "1"}});
    import();
    EXPECT_EQ(attributes_of(inputs().at(0).child("locations").child("location")), "id=LC-PATIO");
}

struct IntervalCase {
    double hora, sesiones;
    std::string written;
};

class IntervalNumber : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(IntervalNumber, HalfSessionsDoubleThePeriod) {
    EXPECT_EQ(interval_number(GetParam().hora, GetParam().sesiones, ','), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, IntervalNumber,
    ::testing::Values(IntervalCase{3, 1, "3"}, IntervalCase{3, 0.5, "5"}, IntervalCase{1, 0.5, "1"},
                      IntervalCase{4, 2, "4"}, IntervalCase{0, 0.5, "-1"}, IntervalCase{41, 1, "41"},
                      IntervalCase{2.5, 1, "2,5"}, IntervalCase{2.25, 0.5, "3,5"},
                      IntervalCase{3, 0.50000001, "3"}, IntervalCase{3, 0, "3"},
                      IntervalCase{std::numeric_limits<double>::infinity(), 1, "INF"}));

TEST_F(Inputs, IntervalUsesTheExchangeDecimalSeparator) {
    write_solution({lesson("1", "2,5", "1"), lesson("1", "3", "0,5")});
    Exchange comma(Settings{exchange_dir(), ','});
    run_import(saga_path(), comma);
    std::vector<std::string> intervals;
    for (pugi::xml_node input : inputs())
        intervals.push_back(input.attribute("interval").value());
    EXPECT_EQ(intervals, (std::vector<std::string>{"i2,5", "i5"}));
}

} // namespace

namespace {

TEST_F(Inputs, ControlBytesInHoralisCodesNeverMakeTheSavedDocumentUnreadable) {
    // A code with no catalog record is written as it stands; its control
    // byte cannot appear in XML 1.0, so it is left out rather than saved.
    write_solution({{"9\x01Z", "ABG", "S1", "A1", "1", "1", "1"}});
    import();
    XmlDocument reloaded;
    EXPECT_NO_THROW(reloaded.load(saga_path()));
    pugi::xml_node input = inputs().at(0);
    EXPECT_EQ(attributes_of(input.child("groups").child("group")), "id=9Z");
}

} // namespace
