// The Horalis stand-in's solution imports cleanly: a school week of days and
// intervals, no group or teacher in two places at once, half sessions for
// fractional hours, and unplaceable lessons left at day 0.
#include "import_fixture.h"

#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

using namespace enlazor;
using namespace enlazor::testing;

namespace fs = std::filesystem;

namespace {

const std::vector<FieldDef> kAssignmentFields = {
    {"CASIG", FieldType::Text, 4}, {"CPROF", FieldType::Text, 4}, {"CGRUP", FieldType::Text, 4},
    {"CAULA", FieldType::Text, 4}, {"TURNO", FieldType::Text, 1}, {"NIVEL", FieldType::Text, 5},
    {"CURSO", FieldType::Text, 3}, {"GRUPO", FieldType::Text, 2}, {"HORAS", FieldType::Float},
    {"SESIONES", FieldType::Text, 20},
};

class StandinRoundTrip : public ImportFixture {
protected:
    void SetUp() override {
        if (!fs::exists(standin()))
            GTEST_SKIP() << "horalis-standin not built";
        write_empty_tables();
        write_document();
        write_groups({{"1A", "GR-1"}, {"1B", "GR-2"}});
        write_teachers({{"ABG", "PR-1"}, {"DE", "PR-2"}});
        write_subjects({{"LEN", "SB-LEN", "Lengua"}, {"MAT", "SB-MAT", "Matemáticas"},
                        {"BIO", "SB-BIO", "Biología"}});
        write_rooms({{"A1", "LC-1"}, {"A2", "LC-2"}});
    }

    static fs::path standin() { return fs::path(ENLAZOR_BINARY_DIR) / "bin" / "horalis-standin"; }

    void run_standin() {
        const std::string command = standin().string() + " --exchange-dir '" +
                                    exchange_dir().string() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    void write_assignments(const std::vector<std::vector<std::string>>& rows) {
        write_table(exchange_dir(), "ASIGT.DBF", kAssignmentFields, rows);
    }
};

TEST_F(StandinRoundTrip, WeekOfFiveDaysWithEarlyEndsGettingTheirZero) {
    write_assignments({});
    run_standin();
    const ImportSummary summary = import();
    EXPECT_EQ(summary.days, 5u);
    pugi::xml_node days = time_table().child("days");
    EXPECT_EQ(attribute_values(days, "name"),
              (std::vector<std::string>{"Lunes", "Martes", "Miércoles", "Jueves", "Viernes"}));
    for (pugi::xml_node day : days.children()) {
        const std::size_t periods = attribute_values(day, "id").size();
        EXPECT_TRUE(periods == 6 || periods == 7) << periods;
        EXPECT_STREQ(day.first_child().attribute("begin").value(), "8:00");
        EXPECT_STREQ(day.first_child().attribute("end").value(), "08:55");
    }
}

TEST_F(StandinRoundTrip, NobodyIsInTwoPlacesAtOnce) {
    // LEN and MAT share teacher ABG across both groups: 4 + 4 + 4 + 4 lessons.
    write_assignments({
        {"LEN", "ABG", "1A", "", "M", "ESO", "1", "A", "4", "1111"},
        {"MAT", "DE", "1A", "", "M", "ESO", "1", "A", "4", "1111"},
        {"LEN", "ABG", "1B", "", "M", "ESO", "1", "B", "4", "1111"},
        {"MAT", "ABG", "1B", "", "M", "ESO", "1", "B", "2.5", "111"},
        {"BIO", "DE", "1B", "", "M", "ESO", "1", "B", "3", "111"},
    });
    run_standin();
    const ImportSummary summary = import();
    EXPECT_EQ(summary.inputs, 4u + 4 + 4 + 3 + 3);
    EXPECT_EQ(summary.groups, 2u);
    EXPECT_EQ(summary.activities, 3u);

    std::set<std::tuple<std::string, std::string, std::string>> group_slots, teacher_slots, room_slots;
    std::map<std::string, std::set<std::string>> intervals_of_day;
    for (pugi::xml_node day : time_table().child("days").children())
        for (pugi::xml_node interval : day.children())
            intervals_of_day[day.attribute("id").value()].insert(interval.attribute("id").value());
    for (pugi::xml_node input : inputs()) {
        const std::string day = input.attribute("day").value();
        const std::string interval = input.attribute("interval").value();
        EXPECT_TRUE(intervals_of_day[day].contains(interval)) << day << " " << interval;
        const std::string group = input.child("groups").child("group").attribute("id").value();
        const std::string teacher = input.child("members").child("member").attribute("id").value();
        const std::string room = input.child("locations").child("location").attribute("id").value();
        EXPECT_TRUE(group_slots.insert({group, day, interval}).second) << group << " " << day << interval;
        EXPECT_TRUE(teacher_slots.insert({teacher, day, interval}).second) << teacher << " " << day << interval;
        if (!room.empty()) {
            EXPECT_TRUE(room_slots.insert({room, day, interval}).second) << room << " " << day << interval;
        }
    }
}

TEST_F(StandinRoundTrip, FractionalHoursEndInAHalfSession) {
    write_assignments({{"MAT", "DE", "1A", "", "M", "ESO", "1", "A", "2.5", "111"}});
    run_standin();
    DbfTable soluc(exchange_dir(), "SOLUC.DBF", OpenMode::Shared, '.');
    soluc.open();
    std::vector<double> sessions;
    for (soluc.first(); !soluc.eof(); soluc.next())
        sessions.push_back(soluc.floating("SESIONES"));
    EXPECT_EQ(sessions, (std::vector<double>{1, 1, 0.5}));
}

TEST_F(StandinRoundTrip, LessonsBeyondTheWeekAreLeftUnplaced) {
    // 35 lessons for one group in a week of fewer periods.
    write_assignments({{"LEN", "ABG", "1A", "", "M", "ESO", "1", "A", "35", "221111111111111"}});
    run_standin();
    const ImportSummary summary = import();
    DbfTable soluc(exchange_dir(), "SOLUC.DBF", OpenMode::Shared, '.');
    soluc.open();
    EXPECT_EQ(soluc.record_count(), 35u);
    std::size_t unplaced = 0;
    for (soluc.first(); !soluc.eof(); soluc.next())
        unplaced += soluc.integer("DIA") == 0;
    EXPECT_GT(unplaced, 0u);
    EXPECT_EQ(summary.inputs + unplaced, 35u);
    EXPECT_EQ(summary.groups, 1u);
}

} // namespace
