// The groups, members and activities lists: every catalog record whose code
// occurs anywhere in SOLUC (day 0 included), in catalog order, compared
// byte for byte.
#include "import_fixture.h"

using namespace enlazor;
using namespace enlazor::testing;

namespace {

class CatalogLists : public ImportFixture {
protected:
    void SetUp() override {
        write_empty_tables();
        write_document();
        write_subjects({{"S1", "SB-1", "Lengua"}});
    }

    // A placed lesson of subject S1 with the given group and teacher codes.
    static Lesson lesson(const std::string& group, const std::string& teacher,
                         const std::string& day = "1") {
        return {group, teacher, "S1", "", day, "1", "1"};
    }
};

TEST_F(CatalogLists, FollowTheCatalogOrderNotTheSolutionOrder) {
    write_groups({{"1A", "GR-1"}, {"2B", "GR-2"}, {"3C", "GR-3"}});
    write_teachers({{"ABG", "PR-1"}, {"DE", "PR-2"}, {"XY", "PR-3"}});
    write_solution({lesson("3C", "XY"), lesson("1A", "ABG"), lesson("3C", "XY")});
    const ImportSummary summary = import();
    EXPECT_EQ(attribute_values(time_table().child("groups"), "id"),
              (std::vector<std::string>{"GR-1", "GR-3"}));
    EXPECT_EQ(attribute_values(time_table().child("members"), "id"),
              (std::vector<std::string>{"PR-1", "PR-3"}));
    EXPECT_EQ(summary.groups, 2u);
    EXPECT_EQ(summary.members, 2u);
}

TEST_F(CatalogLists, CodesDifferingInCaseOrLeadingBlanksDoNotMatch) {
    write_groups({{"1A", "GR-1"}, {"1B", "GR-2"}});
    write_teachers({{"ABG", "PR-1"}});
    write_solution({lesson("1a", "abg"), lesson(" 1B", " ABG")});
    import();
    EXPECT_FALSE(time_table().child("groups").first_child());
    EXPECT_FALSE(time_table().child("members").first_child());
}

TEST_F(CatalogLists, EveryRecordSharingAnUsedCodeIsListed) {
    write_groups({{"1A", "GR-1"}, {"2B", "GR-2"}, {"1A", "GR-3"}});
    write_solution({lesson("1A", "")});
    import();
    EXPECT_EQ(attribute_values(time_table().child("groups"), "id"),
              (std::vector<std::string>{"GR-1", "GR-3"}));
}

TEST_F(CatalogLists, EmptyIdentifierGivesAnEmptyIdAttribute) {
    write_teachers({{"ABG", ""}});
    write_solution({lesson("", "ABG")});
    import();
    EXPECT_EQ(attributes_of(time_table().child("members").first_child()), "id=");
}

TEST_F(CatalogLists, CodesUsedOnlyByUnplacedLessonsAreListed) {
    write_groups({{"1A", "GR-1"}});
    write_teachers({{"ABG", "PR-1"}});
    write_rooms({{"A1", "LC-1"}});
    write_solution({lesson("1A", "ABG", "0")});
    const ImportSummary summary = import();
    EXPECT_EQ(attribute_values(time_table().child("groups"), "id"), std::vector<std::string>{"GR-1"});
    EXPECT_EQ(attribute_values(time_table().child("members"), "id"), std::vector<std::string>{"PR-1"});
    EXPECT_EQ(attribute_values(time_table().child("activities"), "subject"),
              std::vector<std::string>{"SB-1"});
    EXPECT_EQ(summary.inputs, 0u);
}

TEST_F(CatalogLists, EmptyCodeMatchesEmptyCode) {
    write_groups({{"", "GR-EMPTY"}, {"1A", "GR-1"}});
    write_solution({lesson("", "")});
    import();
    EXPECT_EQ(attribute_values(time_table().child("groups"), "id"),
              std::vector<std::string>{"GR-EMPTY"});
}

TEST_F(CatalogLists, EmptySolutionGivesEmptyListsButKeepsTheDays) {
    write_groups({{"1A", "GR-1"}});
    write_teachers({{"ABG", "PR-1"}});
    write_day_periods({{"1", "1", "Lunes", "8:00", "8:55"}});
    const ImportSummary summary = import();
    for (const char* list : {"groups", "members", "activities", "inputs"})
        EXPECT_FALSE(time_table().child(list).first_child()) << list;
    EXPECT_EQ(summary.days, 1u);
    EXPECT_EQ(summary.intervals, 1u);
}

TEST_F(CatalogLists, AccentedIdentifiersSurviveTheWayBack) {
    write_groups({{"1A", "GR-Año-1º"}});
    write_solution({lesson("1A", "")});
    import();
    EXPECT_STREQ(time_table().child("groups").first_child().attribute("id").value(), "GR-Año-1º");
}

} // namespace
