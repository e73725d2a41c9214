// Loading the district's SAGA document in process, as each direction loads
// it: read only for the export, for editing for the import. The parser's
// share of a direction's time.
#include "saga_generator.h"

#include "storage/xml_document.h"

#include <benchmark/benchmark.h>

namespace enlazor {
namespace {

void load_district(benchmark::State& state, XmlUse use) {
    const std::string bytes = bench::generate_saga_document(bench::SagaScale{});
    for (auto _ : state) {
        XmlDocument document;
        document.load_from_memory(bytes, "distrito.xml", use);
        benchmark::DoNotOptimize(document.document_element());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_LoadDistrictToRead(benchmark::State& state) { load_district(state, XmlUse::ReadOnly); }
void BM_LoadDistrictToEdit(benchmark::State& state) { load_district(state, XmlUse::Edit); }
BENCHMARK(BM_LoadDistrictToRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDistrictToEdit)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace enlazor
