// Documents made to hurt, through both whole directions: entity tricks,
// absurd nesting, control characters, broken UTF-8. Each ends either in the
// usual result or in a clear error, within bounded memory, without reading
// any other file, and without a document the program could not read back.
#include "fault_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace faults {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Far more than any of these documents needs, far less than a blow-up takes.
constexpr rlim_t kMemoryBound = rlim_t{1} << 30;

class HostileDocuments : public ::testing::Test {
protected:
    void SetUp() override {
        saga_ = dir_ / "saga.xml";
        exchange_ = dir_ / "HTEMP";
        fs::create_directory(exchange_);
        if (!sanitized_build())
            limits_.address_space = kMemoryBound;
    }

    // A normal school whose document element is preceded by `prolog` and
    // whose first teacher's name is `teacher_name` (raw XML).
    std::string school_with(const std::string& prolog, const std::string& teacher_name) {
        std::string xml = school_document(SchoolSize{});
        const std::string declaration_end = "?>\n";
        xml.insert(xml.find(declaration_end) + declaration_end.size(), prolog);
        const std::string first_teacher = "<teacher id=\"PR-0\">";
        const std::size_t at = xml.find(first_teacher) + first_teacher.size();
        xml.replace(at, xml.find("</teacher>", at) - at, teacher_name);
        return xml;
    }

    std::string all_tables() {
        std::string bytes;
        for (const auto& [name, content] : snapshot(exchange_))
            bytes += content;
        return bytes;
    }

    // Export, stand-in and import, each bounded. Returns the outcome of the
    // first step that did not succeed, or of the import.
    Outcome round_trip() {
        const Outcome exported = run_cli("export", saga_, exchange_, limits_);
        if (exported.exit_code != 0)
            return exported;
        const Outcome placed = run({standin_binary().string(), "--exchange-dir", exchange_.string()});
        if (placed.exit_code != 0)
            return placed;
        return run_cli("import", saga_, exchange_, limits_);
    }

    TempDir dir_;
    fs::path saga_, exchange_;
    Limits limits_;
};

TEST_F(HostileDocuments, EntityBombsAndExternalEntitiesAreRefusedByNameWithNothingWritten) {
    write_file(dir_ / "secreto.txt", "CONTENIDO-SECRETO");
    std::string laughs = "<!ENTITY lol \"lol\">\n";
    for (int level = 1; level <= 9; ++level) {
        laughs += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            laughs += level == 1 ? "&lol;" : "&lol" + std::to_string(level - 1) + ";";
        laughs += "\">\n";
    }
    const std::string prolog = "<!DOCTYPE document [\n" + laughs +
                               "<!ENTITY secreto SYSTEM \"file://" + (dir_ / "secreto.txt").string() + "\">\n"
                               "<!ENTITY % remoto SYSTEM \"http://192.0.2.1/saga.dtd\"> %remoto;\n]>\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"&lol9;", "sus entidades se expanden en un texto desmesurado"},
        {"Ana &secreto;", "usa la entidad externa «secreto»"},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        write_file(saga_, school_with(prolog, name));
        const std::string before = read_file(saga_);
        for (const char* direction : {"export", "import"}) {
            const Outcome outcome = run_cli(direction, saga_, exchange_, limits_);
            ASSERT_TRUE(outcome.exited) << outcome.describe();
            EXPECT_EQ(outcome.exit_code, 1) << outcome.describe();
            EXPECT_THAT(outcome.err, HasSubstr(message));
            EXPECT_THAT(outcome.err + outcome.out, Not(HasSubstr("CONTENIDO-SECRETO")));
        }
        EXPECT_TRUE(snapshot(exchange_).empty()) << "no table is written";
        EXPECT_EQ(read_file(saga_), before);
    }
}

TEST_F(HostileDocuments, AHundredThousandNestedElementsGoThroughBothDirectionsWhole) {
    constexpr int kDepth = 100000;
    std::string nested;
    for (int i = 0; i < kDepth; ++i)
        nested += "<n>";
    nested += "Profundo";
    for (int i = 0; i < kDepth; ++i)
        nested += "</n>";
    write_file(saga_, school_with("", nested));

    const Outcome outcome = round_trip();
    ASSERT_TRUE(outcome.exited) << outcome.describe();
    ASSERT_EQ(outcome.exit_code, 0) << outcome.describe();
    EXPECT_THAT(all_tables(), HasSubstr("Profundo")) << "the teacher's name is the nested text";
    EXPECT_THAT(read_file(saga_), HasSubstr(nested)) << "the save keeps the nesting";
}

TEST_F(HostileDocuments, ControlCharactersInValuesNeverGiveADocumentThatCannotBeReadBack) {
    // Raw control bytes, references to them, and an attribute the import
    // itself fills from a table (a group id holding a control character).
    std::string xml = school_with("", "Nombre\x01\x02 con\x1f control &#1;&#x8;");
    const std::string group = "<group id=\"GR-0\"";
    xml.replace(xml.find(group), group.size(), "<group id=\"GR-0\x01\x07\"");
    write_file(saga_, xml);

    const Outcome outcome = round_trip();
    ASSERT_TRUE(outcome.exited) << outcome.describe();
    RecordProperty("outcome", outcome.exit_code == 0 ? "imported" : outcome.err);
    if (outcome.exit_code != 0) {
        EXPECT_EQ(outcome.exit_code, 1) << outcome.describe();
        EXPECT_FALSE(outcome.err.empty());
        EXPECT_EQ(read_file(saga_), xml);
        return;
    }
    // Whatever the import saved, the program loads again.
    const Outcome again = run_cli("export", saga_, exchange_, limits_);
    EXPECT_EQ(again.exit_code, 0) << "the saved document no longer loads: " << again.describe();
}

TEST_F(HostileDocuments, InvalidUtf8StopsBothDirectionsBeforeAnythingIsWritten) {
    std::string failure;
    write_file(saga_, school_document(SchoolSize{}));
    ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;
    const auto tables = snapshot(exchange_);

    for (const std::string& broken : {std::string("Mar\xC3\x28n"), std::string("\xFF\xFE"),
                                      std::string("\xED\xA0\x80"), std::string("\xC0\xAF"),
                                      std::string("\xF4\x90\x80\x80"), std::string("abc\xE2\x82")}) {
        const std::string xml = school_with("", "Profesor " + broken);
        write_file(saga_, xml);
        for (const char* direction : {"export", "import"}) {
            const Outcome outcome = run_cli(direction, saga_, exchange_, limits_);
            EXPECT_TRUE(outcome.exited) << direction << ": " << outcome.describe();
            EXPECT_EQ(outcome.exit_code, 1) << direction << ": " << outcome.describe();
            EXPECT_THAT(outcome.err, HasSubstr(saga_.string())) << direction;
            EXPECT_EQ(read_file(saga_), xml) << direction;
            EXPECT_EQ(snapshot(exchange_), tables) << direction;
        }
    }
}

} // namespace
} // namespace faults
