// Horalis exchange directories holding a computed timetable, at any scale,
// for the import's benchmarks and for the test that guards its saved bytes.
// Deterministic: the same scale always gives the same tables.
#pragma once

#include <filesystem>

namespace enlazor::bench {

struct SolutionScale {
    int records = 500'000;  // SOLUC records
    int groups = 2'000;
    int teachers = 3'000;
    int subjects = 4'000;
    int rooms = 1'000;
};

// A school's solution, a fiftieth of the district's above.
constexpr SolutionScale kSchoolSolution{10'000, 40, 60, 80, 20};

// The same scale with every count multiplied by `factor`.
constexpr SolutionScale scaled(const SolutionScale& scale, int factor) {
    return {scale.records * factor, scale.groups * factor, scale.teachers * factor, scale.subjects * factor,
            scale.rooms * factor};
}

// Writes GRUPOST, PROFT, ASIGNOMT, AULAT (codes and SAGA ids), DIASHORAST
// (five days of seven periods) and SOLUC into `dir`. Codes are spread over
// the catalogs, some group and room codes have no catalog record, one
// record in six is unplaced (day 0) and one in ten is a half session.
void write_solution_exchange(const std::filesystem::path& dir, const SolutionScale& scale = {});

// The document the import benchmarks write their section into.
inline constexpr const char* kImportDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<document><subjects/><teachers/><locations/><groups/></document>\n";

} // namespace enlazor::bench
