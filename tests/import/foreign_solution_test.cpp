// SOLUC belongs to Horalis: its seven fields are read whatever their dBase
// types, widths, case and order; further fields are ignored; a missing one
// is reported by name.
#include "import_fixture.h"

#include <algorithm>

using namespace enlazor;
using namespace enlazor::testing;

namespace {

class ForeignSolution : public ImportFixture {
protected:
    void SetUp() override {
        write_empty_tables();
        write_document();
        write_day_periods({{"1", "1", "Lunes", "8:00", "8:55"}});
        write_groups({{"1A", "GR-1"}});
        write_teachers({{"ABG", "PR-1"}});
        write_subjects({{"S1", "SB-1", "Lengua"}});
        write_rooms({{"A1", "LC-1"}});
    }

    // A half session, an unplaced lesson, a fractional period.
    const std::vector<Lesson> kLessons = {{"1A", "ABG", "S1", "A1", "2", "3", "0.5"},
                                          {"1A", "ABG", "S1", "A1", "0", "1", "1"},
                                          {"1A", "ABG", "S1", "A1", "5", "2.5", "1"}};

    // The saved section for the reference solution in the usual layout.
    std::string reference_section() {
        write_solution(kLessons);
        import();
        return document_bytes();
    }
};

TEST_F(ForeignSolution, CharacterAndNumericFieldsReadAlike) {
    const std::string expected = reference_section();
    write_solution(kLessons, SolutionLayout::Numbers);
    import();
    EXPECT_EQ(document_bytes(), expected);
    std::vector<std::string> intervals;
    for (pugi::xml_node input : inputs())
        intervals.push_back(input.attribute("interval").value());
    EXPECT_EQ(intervals, (std::vector<std::string>{"i5", "i2.5"}));
}

TEST_F(ForeignSolution, FieldsInAnyOrderAndCaseWithFurtherFieldsAreAccepted) {
    const std::string expected = reference_section();
    write_table(exchange_dir(), "SOLUC.DBF",
                {{"NUMSOL", FieldType::Integer},  {"sesiones", FieldType::Float},
                 {"Hora", FieldType::Float},      {"dia", FieldType::Float},
                 {"NOTA", FieldType::Text, 30},   {"aula", FieldType::Text, 2},
                 {"ASIG", FieldType::Text, 254},  {"PROF", FieldType::Text, 3},
                 {"CODGRUPO", FieldType::Text, 2}},
                {{"7", "0.5", "3", "2", "nota", "A1", "S1", "ABG", "1A"},
                 {"8", "1", "1", "0", "", "A1", "S1", "ABG", "1A"},
                 {"9", "1", "2.5", "5", "", "A1", "S1", "ABG", "1A"}});
    import();
    EXPECT_EQ(document_bytes(), expected);
}

TEST_F(ForeignSolution, DayStoredWithDecimalsStillNamesItsDay) {
    write_table(exchange_dir(), "SOLUC.DBF",
                {{"CODGRUPO", FieldType::Text, 4}, {"PROF", FieldType::Text, 4},
                 {"ASIG", FieldType::Text, 4}, {"AULA", FieldType::Text, 4},
                 {"DIA", FieldType::Float}, {"HORA", FieldType::Float},
                 {"SESIONES", FieldType::Float}},
                {{"1A", "ABG", "S1", "A1", "4", "2", "1"}});
    import();
    EXPECT_EQ(attributes_of(inputs().at(0)), "id=input1 day=4 interval=i2 activity=a1");
}

class ForeignSolutionMissingField : public ForeignSolution,
                                    public ::testing::WithParamInterface<const char*> {};

TEST_P(ForeignSolutionMissingField, IsReportedByTheTableObjectAndName) {
    std::vector<FieldDef> fields = solution_fields(SolutionLayout::Characters);
    std::vector<std::string> row = {"1A", "ABG", "S1", "A1", "1", "1", "1"};
    const auto missing = std::find_if(fields.begin(), fields.end(),
                                      [](const FieldDef& f) { return f.name == GetParam(); });
    ASSERT_NE(missing, fields.end());
    row.erase(row.begin() + (missing - fields.begin()));
    fields.erase(missing);
    write_table(exchange_dir(), "SOLUC.DBF", fields, {row});
    const std::string before = document_bytes();
    try {
        import();
        FAIL() << "the import did not fail";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  std::string("wwTableSoluc: No se encuentra el campo '") + GetParam() + "'");
    }
    EXPECT_EQ(document_bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(ForeignSolution, ForeignSolutionMissingField,
                         ::testing::Values("CODGRUPO", "PROF", "ASIG", "AULA", "DIA", "HORA",
                                           "SESIONES"));

TEST_F(ForeignSolution, EmptySolutionNeedsNoFieldItNeverReads) {
    write_table(exchange_dir(), "SOLUC.DBF", {{"OTRO", FieldType::Text, 4}}, {});
    const ImportSummary summary = import();
    EXPECT_EQ(summary.inputs, 0u);
    EXPECT_EQ(summary.days, 1u);
}

} // namespace
