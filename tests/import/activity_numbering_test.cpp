// Activities are numbered a1, a2, ... over the subjects written, and an
// input finds its activity by subject identifier, ignoring case.
#include "import_fixture.h"

using namespace enlazor;
using namespace enlazor::testing;

namespace {

class ActivityNumbering : public ImportFixture {
protected:
    void SetUp() override {
        write_empty_tables();
        write_document();
    }

    static Lesson lesson(const std::string& subject, const std::string& day = "1") {
        return {"", "", subject, "", day, "1", "1"};
    }

    pugi::xml_node activities() { return time_table().child("activities"); }
};

TEST_F(ActivityNumbering, IdsCountOnlyTheActivitiesWritten) {
    write_subjects({{"S1", "SB-1", "Lengua"}, {"S2", "SB-2", "Música"}, {"S3", "SB-3", "Francés"}});
    write_solution({lesson("S3"), lesson("S1")});
    const ImportSummary summary = import();
    EXPECT_EQ(attribute_values(activities(), "id"), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(attributes_of(activities().last_child()), "id=a2 name=Francés subject=SB-3");
    EXPECT_EQ(attribute_values(time_table().child("inputs"), "activity"),
              (std::vector<std::string>{"a2", "a1"}));
    EXPECT_EQ(summary.activities, 2u);
}

TEST_F(ActivityNumbering, SubjectsSharingAnIdentifierReferToTheFirstActivity) {
    write_subjects({{"S0", "SB-0", "Otra"}, {"S1", "SB-X", "Lengua"}, {"S2", "SB-Y", "Música"},
                    {"S3", "sb-x", "Lengua bis"}, {"S4", "SB-X", "Lengua ter"}});
    write_solution({lesson("S0"), lesson("S1"), lesson("S2"), lesson("S3"), lesson("S4")});
    import();
    EXPECT_EQ(attribute_values(activities(), "id"),
              (std::vector<std::string>{"a1", "a2", "a3", "a4", "a5"}));
    EXPECT_EQ(attribute_values(time_table().child("inputs"), "activity"),
              (std::vector<std::string>{"a1", "a2", "a3", "a2", "a2"}));
}

TEST_F(ActivityNumbering, CodeWithoutSubjectRecordNamesTheActivityOfTheSameIdentifier) {
    // No ASIGNOMT record has code sb-2, so the look-up gives the code itself,
    // which equals the identifier SB-2 ignoring case.
    write_subjects({{"S1", "SB-1", "Lengua"}, {"S2", "SB-2", "Música"}});
    write_solution({lesson("S2"), lesson("sb-2")});
    import();
    EXPECT_EQ(attribute_values(time_table().child("inputs"), "activity"),
              (std::vector<std::string>{"a1", "a1"}));
}

TEST_F(ActivityNumbering, AccentedIdentifiersMatchTheirOtherCaseOnly) {
    write_subjects({{"S1", "SB-Ñ", "Lengua"}, {"S2", "SB-É", "Música"}});
    write_solution({lesson("S1"), lesson("S2"), lesson("sb-ñ")});
    import();
    EXPECT_EQ(attribute_values(time_table().child("inputs"), "activity"),
              (std::vector<std::string>{"a1", "a2", "a1"}));

    write_solution({lesson("S1"), lesson("S2"), lesson("SB-E")});
    EXPECT_THROW(import(), Error);
}

} // namespace
