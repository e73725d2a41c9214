// horalis-standin: a test double of the Horalis timetabler, for the sample
// round trip and for tests. It does in the exchange directory what Horalis
// does between an export and an import, in the simplest way that gives a
// believable timetable:
//
//   1. fills DIASHORAST with a school week: "Lunes" to "Viernes", six or seven
//      periods a day, with their times (early ones end before 10:00 and are
//      written "9:50", as Horalis writes them);
//   2. reads the assignments of ASIGT and the room codes of AULAT;
//   3. writes SOLUC, one record per lesson, placed greedily: a slot where
//      neither the group nor the teacher is busy, on a day the assignment has
//      no lesson yet when possible; a lesson that finds no such slot is left
//      unplaced (day 0), as Horalis leaves it. Fractional weekly hours end in
//      a half session (SESIONES 0.5) placed at an odd period.
//
// It is deterministic: the same tables always give the same solution.
//
//   horalis-standin [--exchange-dir DIR]
#include "storage/dbf_table.h"
#include "base/error.h"
#include "storage/settings.h"
#include "storage/text.h"

#include <cmath>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace enlazor;

namespace {

struct Period {
    const char* from;
    const char* to;
};

// The school's bell times; afternoon groups are taught in the same periods.
const std::vector<Period> kBellTimes = {
    {"8:00", "8:55"},   {"8:55", "9:50"},   {"9:50", "10:45"}, {"11:15", "12:10"},
    {"12:10", "13:05"}, {"13:05", "14:00"}, {"14:00", "14:55"},
};

struct Day {
    const char* name;  // UTF-8
    int periods;
};

const std::vector<Day> kWeek = {
    {"Lunes", 7}, {"Martes", 6}, {"Miércoles", 7}, {"Jueves", 6}, {"Viernes", 6},
};

constexpr int kLessonMinutes = 55;

struct Assignment {
    Text8 subject, teacher, group;
    int full_lessons = 0;
    bool half_lesson = false;
};

struct Lesson {
    Text8 group, teacher, subject, room;
    int day = 0;     // 0: not placed
    int hora = 0;    // as SOLUC names it; for a half session (period + 1) / 2
    double sessions = 1;
};

// Lessons per week from the assignment's pattern: n "1"s for n up to 13,
// else the leading number plus thirteen.
int lessons_in_pattern(const Text8& pattern) {
    if (pattern.size() <= 13)
        return static_cast<int>(pattern.size());
    const Text8 lead = pattern.substr(0, pattern.size() - 13);
    for (char c : lead)
        if (c < '0' || c > '9')
            return 13;
    return std::stoi(lead.substr(0, 6)) + 13;
}

void write_day_periods(const std::filesystem::path& dir, char separator) {
    DbfTable table(dir, "DIASHORAST.DBF", OpenMode::Shared, separator);
    table.clear_fields();
    for (const char* name : {"DIHO", "CODDIHO"})
        table.add_field(name, FieldType::Text, 10);
    for (const char* name : {"DIA", "TEXTODIA"})
        table.add_field(name, FieldType::Text, 20);
    for (const char* name : {"HORA", "HORADESDE", "HORAHASTA", "MINUTOS"})
        table.add_field(name, FieldType::Text, 8);
    table.create();
    table.open();
    for (std::size_t d = 0; d < kWeek.size(); ++d) {
        for (int p = 1; p <= kWeek[d].periods; ++p) {
            const Text8 code = int_to_text(static_cast<int>(d + 1) * 100 + p);
            table.append();
            table.set_text("DIHO", code);
            table.set_text("CODDIHO", code);
            table.set_text("DIA", int_to_text(static_cast<int>(d + 1)));
            table.set_text("TEXTODIA", to_8bit_from_utf8(kWeek[d].name));
            table.set_text("HORA", int_to_text(p));
            table.set_text("HORADESDE", kBellTimes[p - 1].from);
            table.set_text("HORAHASTA", kBellTimes[p - 1].to);
            table.set_text("MINUTOS", int_to_text(kLessonMinutes));
            table.post();
        }
    }
    table.close();
}

std::vector<Text8> read_room_codes(const std::filesystem::path& dir, char separator) {
    DbfTable table(dir, "AULAT.DBF", OpenMode::Shared, separator);
    table.open();
    std::vector<Text8> codes;
    for (table.first(); !table.eof(); table.next())
        codes.push_back(table.text("ABREV"));
    table.close();
    return codes;
}

// Assignments without a subject code name nothing Horalis could place.
std::vector<Assignment> read_assignments(const std::filesystem::path& dir, char separator,
                                         int& skipped) {
    DbfTable table(dir, "ASIGT.DBF", OpenMode::Shared, separator);
    table.open();
    std::vector<Assignment> assignments;
    for (table.first(); !table.eof(); table.next()) {
        Assignment a{table.text("CASIG"), table.text("CPROF"), table.text("CGRUP")};
        if (a.subject.empty()) {
            ++skipped;
            continue;
        }
        const double hours = table.floating("HORAS");
        const int lessons = lessons_in_pattern(table.text("SESIONES"));
        a.half_lesson = lessons > 0 && hours > std::floor(hours);
        a.full_lessons = a.half_lesson ? lessons - 1 : lessons;
        assignments.push_back(std::move(a));
    }
    table.close();
    return assignments;
}

// Who is busy when, and which rooms are taken.
class Timetable {
public:
    explicit Timetable(std::vector<Text8> rooms) : rooms_(std::move(rooms)) {}

    // Places one lesson of `a` (a half session only at an odd period); day 0
    // when no slot leaves both the group and the teacher free.
    Lesson place(const Assignment& a, bool half, std::set<int>& days_used, int rotation) {
        Lesson lesson{a.group, a.teacher, a.subject, {}, 0, 0, half ? 0.5 : 1.0};
        for (bool spread : {true, false}) {
            for (std::size_t i = 0; i < kWeek.size(); ++i) {
                const int day = static_cast<int>((i + rotation) % kWeek.size()) + 1;
                if (spread && days_used.contains(day))
                    continue;
                for (int period = 1; period <= kWeek[day - 1].periods; ++period) {
                    if ((half && period % 2 == 0) || !free(a.group, day, period) ||
                        !free(a.teacher, day, period))
                        continue;
                    book(a.group, day, period);
                    book(a.teacher, day, period);
                    days_used.insert(day);
                    lesson.day = day;
                    lesson.hora = half ? (period + 1) / 2 : period;
                    lesson.room = take_room(a.group, day, period);
                    return lesson;
                }
            }
        }
        return lesson;
    }

private:
    using Slot = std::pair<int, int>;

    // An empty code stands for nobody, who is never busy.
    bool free(const Text8& who, int day, int period) const {
        return who.empty() || !busy_.contains({who, {day, period}});
    }
    void book(const Text8& who, int day, int period) {
        if (!who.empty())
            busy_.insert({who, {day, period}});
    }

    // The group's own room when free, else the first free one; none when all are taken.
    Text8 take_room(const Text8& group, int day, int period) {
        if (rooms_.empty())
            return {};
        auto [home, added] = home_room_.try_emplace(group, home_room_.size() % rooms_.size());
        (void)added;
        for (std::size_t i = 0; i < rooms_.size(); ++i) {
            const Text8& room = rooms_[(home->second + i) % rooms_.size()];
            if (!room_taken_.contains({room, {day, period}})) {
                room_taken_.insert({room, {day, period}});
                return room;
            }
        }
        return {};
    }

    std::vector<Text8> rooms_;
    std::set<std::pair<Text8, Slot>> busy_;
    std::set<std::pair<Text8, Slot>> room_taken_;
    std::map<Text8, std::size_t> home_room_;
};

void write_solution(const std::filesystem::path& dir, char separator,
                    const std::vector<Lesson>& lessons) {
    DbfTable table(dir, "SOLUC.DBF", OpenMode::Shared, separator);
    table.clear_fields();
    for (const char* name : {"CODGRUPO", "PROF", "ASIG", "AULA"})
        table.add_field(name, FieldType::Text, 10);
    table.add_field("DIA", FieldType::Integer);
    table.add_field("HORA", FieldType::Integer);
    table.add_field("SESIONES", FieldType::Float);
    table.create();
    table.open();
    for (const Lesson& lesson : lessons) {
        table.append();
        table.set_text("CODGRUPO", lesson.group);
        table.set_text("PROF", lesson.teacher);
        table.set_text("ASIG", lesson.subject);
        table.set_text("AULA", lesson.room);
        table.set_integer("DIA", lesson.day);
        table.set_integer("HORA", lesson.hora);
        table.set_float("SESIONES", lesson.sessions);
        table.post();
    }
    table.close();
}

constexpr const char* kUsage = "Uso: horalis-standin [--exchange-dir DIR]\n";

int usage_error(const std::string& message) {
    std::cerr << "horalis-standin: " << message << "\n" << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Settings settings = settings_from_environment();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--exchange-dir" && i + 1 < argc)
            settings.exchange_dir = argv[++i];
        else if (arg.starts_with("--exchange-dir="))
            settings.exchange_dir = arg.substr(15);
        else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage
                      << "Hace de Horalis para pruebas: rellena DIASHORAST y escribe SOLUC a partir de ASIGT.\n";
            return 0;
        } else
            return usage_error("argumento no reconocido: " + arg);
    }
    if (settings.exchange_dir.empty())
        return usage_error("--exchange-dir no puede estar vacío");

    try {
        const std::filesystem::path& dir = settings.exchange_dir;
        const char separator = settings.decimal_separator;
        write_day_periods(dir, separator);
        int skipped = 0;
        const std::vector<Assignment> assignments = read_assignments(dir, separator, skipped);
        Timetable timetable(read_room_codes(dir, separator));

        std::vector<Lesson> lessons;
        int halves = 0, unplaced = 0;
        for (std::size_t a = 0; a < assignments.size(); ++a) {
            std::set<int> days_used;
            const int count = assignments[a].full_lessons + (assignments[a].half_lesson ? 1 : 0);
            for (int k = 0; k < count; ++k) {
                const bool half = assignments[a].half_lesson && k == count - 1;
                lessons.push_back(timetable.place(assignments[a], half, days_used,
                                                  static_cast<int>(a) + k));
                halves += half;
                unplaced += lessons.back().day == 0;
            }
        }
        write_solution(dir, separator, lessons);

        std::cout << "Horalis (simulado): " << dir.string() << "\n"
                  << "  DIASHORAST: " << kWeek.size() << " días\n"
                  << "  SOLUC: " << lessons.size() << " sesiones (" << halves << " medias, "
                  << unplaced << " sin colocar)\n";
        if (skipped > 0)
            std::cout << "  ASIGT: " << skipped << " asignaciones sin código de materia omitidas\n";
        return 0;
    } catch (const Error& e) {
        std::cerr << "horalis-standin: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "horalis-standin: " << e.what() << "\n";
        return 1;
    }
}
