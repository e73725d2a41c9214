// The check tells of the temporary files interrupted saves left beside the
// document, each by name, and of nothing that merely looks like one; it
// removes none of them, since it writes nothing.
#include "check_test_support.h"

#include "check/check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace enlazor;
using namespace enlazor::testing;

namespace fs = std::filesystem;

namespace {

struct Beside {
    const char* name;
    bool directory;
    bool reported;
};

TEST(LeftoverSaveFindings, EachLeftoverOfTheDocumentIsToldAndKept) {
    const Beside cases[] = {
        {".small_school.xml.enlazor-a1b2c3", false, true},
        {".small_school.xml.enlazor-Q9w8E7", false, true},
        {".otro.xml.enlazor-a1b2c3", false, false},  // another document's
        {".small_school.xml.enlazor-a1b2c", false, false},
        {".small_school.xml.enlazor-a1b2c3.bak", false, false},
        {".small_school.xml.a1b2c3", false, false},
        {".small_school.xml.enlazor-d1r2c3", true, false},
    };
    CheckDir dir;
    const fs::path folder = dir.path() / "centro";
    fs::create_directories(folder);
    const fs::path document = folder / "small_school.xml";
    fs::copy_file(source_file("tests/check/fixtures/small_school.xml"), document);
    for (const Beside& c : cases) {
        if (c.directory)
            fs::create_directory(folder / c.name);
        else
            std::ofstream(folder / c.name) << "half a save";
    }

    const CheckReport report = run_check(document, Settings{dir.exchange(), '.'});
    std::vector<std::string> told;
    for (const Finding& finding : report.findings) {
        if (finding.kind != "leftover-save")
            continue;
        EXPECT_EQ(finding.severity, Severity::Warning);
        EXPECT_NE(finding.message.find("La próxima exportación o importación lo eliminará."), std::string::npos)
            << finding.message;
        told.push_back(finding.message);
    }
    std::size_t expected = 0;
    for (const Beside& c : cases) {
        const std::string message = "Junto al documento queda el archivo temporal de un guardado interrumpido: " +
                                    (folder / c.name).string() + ".";
        const bool found = std::any_of(told.begin(), told.end(),
                                       [&](const std::string& m) { return m.starts_with(message); });
        EXPECT_EQ(found, c.reported) << c.name;
        expected += c.reported ? 1 : 0;
        EXPECT_TRUE(fs::exists(folder / c.name)) << c.name << ": the check removed it";
    }
    EXPECT_EQ(told.size(), expected);
    EXPECT_EQ(report.counts_by_kind().at("leftover-save"), expected);
    EXPECT_NE(report_text(report).find("  archivos temporales de guardados interrumpidos (leftover-save): 2\n"),
              std::string::npos)
        << report_text(report);
    EXPECT_NE(report_json(report).find("\"leftover-save\": 2"), std::string::npos);
}

TEST(LeftoverSaveFindings, ADocumentWithNothingBesideItHasNoneToTell) {
    CheckDir dir;
    const CheckReport report =
        run_check(source_file("tests/check/fixtures/small_school.xml"), Settings{dir.exchange(), '.'});
    EXPECT_EQ(report.counts_by_kind().count("leftover-save"), 0u);
}

} // namespace
