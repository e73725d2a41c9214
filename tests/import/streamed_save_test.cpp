// The import writes its inputs straight into the file while saving, never
// holding them in the document. The saved bytes must be exactly those of a
// document that holds every input and is then serialized whole, the way the
// section was always saved, here on the benchmark's district catalogs.
#include "import_fixture.h"
#include "solution_generator.h"

#include "import/time_tables.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace enlazor;
using namespace enlazor::testing;

namespace {

TEST(StreamedSave, GivesTheBytesOfTheWholeSectionSerializedAtOnce) {
    TempDir dir;
    // The district's catalogs with a twentieth of its solution: every stage
    // at full width, inputs enough to fill several write blocks, and quick
    // enough for the sanitizer run.
    bench::SolutionScale district;
    district.records = 25'000;
    bench::write_solution_exchange(dir.path(), district);

    // The benchmark's document, and one in windows-1252 with a comment long
    // enough that the serializer's pieces end inside its characters.
    const std::string comment = "<!-- " + std::string(5000, 'x') + " ñandú ÁÉÍÓÚ -->";
    const std::string latin = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n" + comment +
                              "\n<document><subjects/><teachers/><locations/><groups/></document>\n";
    for (const std::string& source : {std::string(bench::kImportDocument), to_8bit_from_utf8(latin)}) {
        const auto saga = dir.path() / "saga.xml";
        std::ofstream(saga, std::ios::binary | std::ios::trunc) << source;
        Exchange exchange(Settings{dir.path(), '.'});

        XmlDocument whole;
        whole.load(saga);
        const ImportSummary built = build_time_tables(whole, exchange);
        const std::string expected = whole.serialize();

        XmlDocument streamed;
        streamed.load(saga);
        const ImportSummary saved = write_time_tables(streamed, exchange, saga);
        EXPECT_EQ(saved.inputs, built.inputs);
        EXPECT_GT(saved.inputs, 20'000u);
        EXPECT_TRUE(read_file(saga) == expected) << "the saved document differs from the whole section's";
    }
}

} // namespace
