// ASIGT: subjects, teachers and groups found by their SAGA id in the tables
// just written, first record wins, exact comparison.
#include "export_test_support.h"

#include <gtest/gtest.h>

namespace enlazor::testing {
namespace {

using Rows = std::vector<std::vector<Text8>>;

const std::string kLongId = std::string(57, 'L') + "-END";  // 61 characters

// Two subjects, two teachers; each case brings its own groups (and extras).
std::string catalogs(const std::string& extra_subjects = "") {
    return "<subjects><subject id='SB-1' name='Uno' hours='2'/>"
           "<subject id='SB-2' name='Dos' hours='3'/>" + extra_subjects + "</subjects>"
           "<teachers><teacher id='PR-1'>Ana Uno</teacher>"
           "<teacher id='PR-2'>Bea Dos</teacher></teachers>";
}

struct LookupCase {
    const char* title;
    std::string body;
    Rows asigt;
};

class AssignmentLookups : public ::testing::TestWithParam<LookupCase> {};

TEST_P(AssignmentLookups, GiveTheFirstMatchingRecordsValues) {
    TempDir dir;
    export_xml(saga_document(GetParam().body), dir.path());
    EXPECT_EQ(read_table(dir.path(), "ASIGT").rows, GetParam().asigt);
}

INSTANTIATE_TEST_SUITE_P(Cases, AssignmentLookups, ::testing::Values(
    LookupCase{"GroupsSharingAnIdTakeTheFirstGroupRecord",
               catalogs() + "<groups>"
               "<group id='G' name='1 ESO A' regim='ORD-M'>a<assigned-subjects>"
               "<assigned-subject id='SB-1'/></assigned-subjects></group>"
               "<group id='G' name='2 BACH B' regim='ORD-T'>b<assigned-subjects>"
               "<assigned-subject id='SB-2'/></assigned-subjects></group></groups>",
               {{"SB-1", "", "1EA", "", "M", "ESO", "1", "A", "2", "11"},
                {"SB-2", "", "1EA", "", "M", "ESO", "1", "A", "3", "111"}}},
    LookupCase{"UnknownSubjectLeavesHoursWithoutValue",
               catalogs() + "<groups><group id='G' name='1 ESO A' regim='ORD-M'>a"
               "<assigned-subjects><assigned-subject id='SB-9'><assigned-teachers>"
               "<assigned-teacher id='PR-1'/></assigned-teachers></assigned-subject>"
               "</assigned-subjects></group></groups>",
               {{"", "AU", "1EA", "", "M", "ESO", "1", "A", "", ""}}},
    LookupCase{"TheLastTeacherDecidesEvenWhenUnknown",
               catalogs() + "<groups><group id='G' name='1 ESO A' regim='ORD-M'>a"
               "<assigned-subjects>"
               "<assigned-subject id='SB-1'><assigned-teachers><assigned-teacher id='PR-1'/>"
               "<assigned-teacher id='PR-9'/></assigned-teachers></assigned-subject>"
               "<assigned-subject id='SB-1'><assigned-teachers><assigned-teacher id='PR-9'/>"
               "<assigned-teacher id='PR-2'/></assigned-teachers></assigned-subject>"
               "<assigned-subject id='SB-1'><assigned-teachers/></assigned-subject>"
               "<assigned-subject id='SB-1'/>"
               "</assigned-subjects></group></groups>",
               {{"SB-1", "", "1EA", "", "M", "ESO", "1", "A", "2", "11"},
                {"SB-1", "BD", "1EA", "", "M", "ESO", "1", "A", "2", "11"},
                {"SB-1", "", "1EA", "", "M", "ESO", "1", "A", "2", "11"},
                {"SB-1", "", "1EA", "", "M", "ESO", "1", "A", "2", "11"}}},
    LookupCase{"IdsDifferingInCaseDoNotMatch",
               catalogs() + "<groups><group id='G' name='1 ESO A' regim='ORD-M'>a"
               "<assigned-subjects><assigned-subject id='sb-1'><assigned-teachers>"
               "<assigned-teacher id='pr-1'/></assigned-teachers></assigned-subject>"
               "</assigned-subjects></group></groups>",
               {{"", "", "1EA", "", "M", "ESO", "1", "A", "", ""}}},
    LookupCase{"UnknownGroupLeavesGroupValuesEmpty",
               catalogs() + "<groups><group id='g' name='1 ESO A' regim='ORD-M'>a</group>"
               "<group id='G' name='2 ESO B' regim='ORD-T'>b"
               "<assigned-subjects><assigned-subject id='SB-2'/></assigned-subjects>"
               "</group></groups>",
               {{"SB-2", "", "2EB", "", "T", "ESO", "2", "B", "3", "111"}}},
    LookupCase{"DuplicateSubjectIdsTakeTheFirstSubject",
               catalogs("<subject id='SB-1' name='Otra' hours='7'/>") +
               "<groups><group id='G' name='1 ESO A' regim='ORD-M'>a<assigned-subjects>"
               "<assigned-subject id='SB-1'/></assigned-subjects></group></groups>",
               {{"SB-1", "", "1EA", "", "M", "ESO", "1", "A", "2", "11"}}},
    LookupCase{"IdsLongerThanTheStoredFieldAreNeverFound",
               catalogs("<subject id='" + kLongId + "' name='Larga' hours='5'/>") +
               "<groups><group id='G' name='1 ESO A' regim='ORD-M'>a<assigned-subjects>"
               "<assigned-subject id='" + kLongId + "'/>"
               "<assigned-subject id='" + kLongId.substr(0, 60) + "'/>"
               "</assigned-subjects></group></groups>",
               // The stored id is the cut one, which matches only its cut form.
               {{"", "", "1EA", "", "M", "ESO", "1", "A", "", ""},
                {"-END", "", "1EA", "", "M", "ESO", "1", "A", "5", "11111"}}},
    LookupCase{"OnlyTheGroupsOwnAssignedSubjectsAreRead",
               catalogs() + "<groups><group id='G' name='1 ESO A' regim='ORD-M'>a"
               "<other><assigned-subjects><assigned-subject id='SB-1'/></assigned-subjects>"
               "</other><assigned-subjects><assigned-subject id='SB-2'><x><assigned-teachers>"
               "<assigned-teacher id='PR-1'/></assigned-teachers></x></assigned-subject>"
               "</assigned-subjects></group>"
               "<group id='H' name='1 ESO B' regim='ORD-M'>b</group></groups>",
               {{"SB-2", "", "1EA", "", "M", "ESO", "1", "A", "3", "111"}}},
    LookupCase{"MissingIdsReadAsEmptyAndFindTheEmptyId",
               "<subjects><subject name='Sin id' hours='2'/></subjects>"
               "<teachers><teacher>Ana Uno</teacher></teachers>"
               "<groups><group name='1 ESO A' regim='ORD-M'>a<assigned-subjects>"
               "<assigned-subject><assigned-teachers><assigned-teacher/></assigned-teachers>"
               "</assigned-subject></assigned-subjects></group></groups>",
               {{"", "AU", "1EA", "", "M", "ESO", "1", "A", "2", "11"}}},
    // Ids read ahead as plain ASCII, as Latin-1 letters, through the
    // general conversion (the euro sign) and with blanks around them.
    LookupCase{"IdsBeyondAsciiMatchTheirStoredForms",
               "<subjects><subject id='SB-ñ' name='Eñe' hours='2'/></subjects>"
               "<teachers><teacher id='PR-€'>Ana Uno</teacher></teachers>"
               "<groups><group id=' G-€ ' name='1 ESO A' regim='ORD-M'>a<assigned-subjects>"
               "<assigned-subject id=' SB-ñ '><assigned-teachers><assigned-teacher id='PR-€'/>"
               "</assigned-teachers></assigned-subject></assigned-subjects></group></groups>",
               {{"SB-\xF1", "AU", "1EA", "", "M", "ESO", "1", "A", "2", "11"}}}),
    [](const auto& info) { return std::string(info.param.title); });

} // namespace
} // namespace enlazor::testing
