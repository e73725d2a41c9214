// Generated SAGA documents at the scale of a school district, for the
// benchmarks. Deterministic: the same scale always gives the same bytes.
#pragma once

#include <string>

namespace enlazor::bench {

struct SagaScale {
    int groups = 2'000;
    int subjects_per_group = 12;  // assigned subjects of each group
    int teachers = 3'000;
    int subjects = 1'500;
    int rooms = 800;
};

// Ids: subjects "SB-00001", teachers "PR-00001", rooms "LC-0001", groups
// "GR-00001", numbered in document order. Names are drawn from small pools
// so that initials and name beginnings repeat hundreds of times, which is
// what makes the code numbering run long chains. Each assigned subject has
// one or two assigned teachers; some subjects have decimal hours.
std::string generate_saga_document(const SagaScale& scale = {});

} // namespace enlazor::bench
