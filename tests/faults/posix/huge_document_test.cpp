// A 200 MB SAGA document (a school's catalogs inside years of other
// sections) exported under a 4 GiB address-space limit: it either succeeds
// or ends in a clear error, never in a crash.
#include "fault_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace faults {
namespace {

using ::testing::HasSubstr;

TEST(HugeDocument, A200MegabyteDocumentIsExportedWithinBoundedMemoryOrRefusedClearly) {
    if (sanitized_build())
        GTEST_SKIP() << "the sanitizer's shadow memory rules out an address-space limit";
    TempDir dir;
    const fs::path saga = dir / "saga.xml";
    const fs::path exchange = dir / "HTEMP";
    fs::create_directory(exchange);
    SchoolSize size;
    size.padding_bytes = std::size_t{200} << 20;
    write_school_document(saga, size);
    ASSERT_GE(fs::file_size(saga), std::size_t{200} << 20);

    Limits limits;
    limits.address_space = rlim_t{4} << 30;
    const Outcome outcome = run_cli("export", saga, exchange, limits);
    RecordProperty("peak_rss_kb", std::to_string(outcome.peak_rss_kb));
    ASSERT_TRUE(outcome.exited) << outcome.describe();
    if (outcome.exit_code == 0) {
        EXPECT_THAT(outcome.out, HasSubstr("ASIGNOMT: 40 registros"));
        EXPECT_THAT(outcome.out, HasSubstr("GRUPOST: 24 registros"));
    } else {
        EXPECT_EQ(outcome.exit_code, 1) << outcome.describe();
        EXPECT_THAT(outcome.err, HasSubstr(saga.string()));
        EXPECT_FALSE(outcome.reported_done());
    }
}

} // namespace
} // namespace faults
