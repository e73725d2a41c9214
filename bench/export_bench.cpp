// The export at a school's scale, ten times that, and a district's (2,000
// groups with 12 assigned subjects each, 3,000 teachers, 1,500 subjects, 800
// rooms, names repeating hundreds of times). Each run is the whole direction
// as enlazor-cli runs it (load the document, rebuild the six tables),
// timed from start to end, with its peak memory. Beside it, GDAL's ogr2ogr
// copying the district's ASIGT alone, as a floor for writing dBase tables.
#include "child_process.h"
#include "saga_generator.h"

#include "export/export_tables.h"
#include "support/files.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace enlazor;
using namespace enlazor::bench;

// A fiftieth of the district.
constexpr SagaScale kSchool{40, 12, 60, 30, 16};

SagaScale times_ten(const SagaScale& scale) {
    return {scale.groups * 10, scale.subjects_per_group, scale.teachers * 10, scale.subjects * 10,
            scale.rooms * 10};
}

// A scratch exchange directory holding the generated document.
class ExportPlace {
public:
    explicit ExportPlace(const SagaScale& scale) {
        std::ofstream(document(), std::ios::binary) << generate_saga_document(scale);
    }
    const fs::path& directory() const { return directory_.path(); }
    fs::path document() const { return directory() / "saga.xml"; }

private:
    test_support::TempDir directory_;
};

void export_at(benchmark::State& state, const SagaScale& scale) {
    const ExportPlace place(scale);
    RunRecorder recorder(state);
    for (auto _ : state) {
        const ProcessRun run = run_program(
            {enlazor_cli(), "export", place.document().string(), "--exchange-dir", place.directory().string()});
        if (!recorder.record(run, "the export failed"))
            return;
    }
    recorder.report_peak();
    state.counters["document_MB"] = static_cast<double>(fs::file_size(place.document())) / 1e6;
}

void BM_ExportSchool(benchmark::State& state) { export_at(state, kSchool); }
void BM_ExportSchoolTimesTen(benchmark::State& state) { export_at(state, times_ten(kSchool)); }
void BM_ExportDistrict(benchmark::State& state) { export_at(state, SagaScale{}); }

BENCHMARK(BM_ExportSchool)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(50);
BENCHMARK(BM_ExportSchoolTimesTen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);
BENCHMARK(BM_ExportDistrict)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// GDAL's ogr2ogr copying the district's ASIGT, as the export wrote it, into
// a new dBase table: a process that reads and writes nothing else.
void BM_Ogr2ogrDistrictAssignments(benchmark::State& state) {
    const ExportPlace place(SagaScale{});
    {
        Exchange exchange(Settings{place.directory(), ','});
        run_export(place.document(), exchange);
    }
    const fs::path copy = place.directory() / "copy";
    RunRecorder recorder(state);
    for (auto _ : state) {
        fs::remove_all(copy);
        const ProcessRun run = run_program({"ogr2ogr", "-f", "ESRI Shapefile", copy.string(),
                                            (place.directory() / "ASIGT.DBF").string()});
        if (!recorder.record(run, "ogr2ogr (gdal-bin) is missing or failed"))
            return;
    }
    recorder.report_peak();
}
BENCHMARK(BM_Ogr2ogrDistrictAssignments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// The builders alone, on a document already in memory.
void BM_ExportDistrictTablesOnly(benchmark::State& state) {
    const ExportPlace place(SagaScale{});
    XmlDocument document;
    document.load(place.document());
    Exchange exchange(Settings{place.directory(), ','});
    for (auto _ : state)
        benchmark::DoNotOptimize(export_tables(document, exchange));
}
BENCHMARK(BM_ExportDistrictTablesOnly)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
