// SOLUC tables that lie or carry bytes Windows-1252 leaves undefined, read
// by a whole import: the usual result or the engine's clear error, within
// bounded memory, the document untouched on error and SOLUC never changed.
#include "fault_support.h"

#include "storage/dbf_table.h"
#include "storage/xml_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace faults {
namespace {

using ::testing::HasSubstr;

constexpr rlim_t kMemoryBound = rlim_t{1} << 30;

void put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint16_t get16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

class HostileSolutions : public ::testing::Test {
protected:
    void SetUp() override {
        saga_ = dir_ / "saga.xml";
        exchange_ = dir_ / "HTEMP";
        fs::create_directory(exchange_);
        write_school_document(saga_, SchoolSize{});
        std::string failure;
        ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;
        document_ = read_file(saga_);
        soluc_ = read_file(exchange_ / "SOLUC.DBF");
        if (!sanitized_build())
            limits_.address_space = kMemoryBound;
    }

    // The first subject code of ASIGNOMT, which SOLUC may name.
    std::string a_subject_code() {
        enlazor::DbfTable subjects(exchange_, "ASIGNOMT.DBF", enlazor::OpenMode::Shared, '.');
        subjects.open();
        return subjects.text("COD");
    }

    // A SOLUC of one placed lesson, with the codes given as stored bytes.
    void write_solution(const std::string& group, const std::string& teacher, const std::string& subject,
                        const std::string& room) {
        enlazor::DbfTable table(exchange_, "SOLUC.DBF", enlazor::OpenMode::Shared, '.');
        for (const char* field : {"CODGRUPO", "PROF", "ASIG", "AULA"})
            table.add_field(field, enlazor::FieldType::Text, 8);
        table.add_field("DIA", enlazor::FieldType::Integer);
        table.add_field("HORA", enlazor::FieldType::Float);
        table.add_field("SESIONES", enlazor::FieldType::Float);
        table.create();
        table.open();
        table.append();
        table.set_text("CODGRUPO", group);
        table.set_text("PROF", teacher);
        table.set_text("ASIG", subject);
        table.set_text("AULA", room);
        table.set_integer("DIA", 1);
        table.set_float("HORA", 2);
        table.set_float("SESIONES", 1);
        table.post();
        table.close();
    }

    TempDir dir_;
    fs::path saga_, exchange_;
    std::string document_, soluc_;
    Limits limits_;
};

struct Lie {
    const char* name;
    std::function<void(std::string&)> tell;
};

TEST_F(HostileSolutions, LyingHeadersGiveTheUsualResultOrTheEnginesError) {
    const std::size_t header_length = get16(soluc_, 8);
    const std::size_t record_length = get16(soluc_, 10);
    const std::vector<Lie> lies = {
        {"every record count possible", [](std::string& b) { put32(b, 4, 0xFFFFFFFFu); }},
        {"ten records more than there are",
         [&](std::string& b) { put32(b, 4, static_cast<std::uint32_t>((b.size() - header_length) / record_length + 10)); }},
        {"no records", [](std::string& b) { put32(b, 4, 0); }},
        {"records starting past the end", [&](std::string& b) { put16(b, 8, static_cast<std::uint16_t>(b.size() + 100)); }},
        {"records starting inside the descriptors", [](std::string& b) { put16(b, 8, 32); }},
        {"the longest header", [](std::string& b) { put16(b, 8, 0xFFFF); }},
        {"records of no bytes", [](std::string& b) { put16(b, 10, 0); }},
        {"records of one byte", [](std::string& b) { put16(b, 10, 1); }},
        {"the longest records", [](std::string& b) { put16(b, 10, 0xFFFF); }},
        {"a field of no bytes", [](std::string& b) { b[32 + 16] = 0; }},
        {"a field wider than its record", [](std::string& b) { b[32 + 16] = static_cast<char>(0xFF); }},
        {"descriptors never ended", [&](std::string& b) { b[header_length - 1] = 'X'; }},
        {"a field name without its end", [](std::string& b) { b.replace(32, 11, "CODGRUPOXYZ"); }},
        {"a field of an unknown type", [](std::string& b) { b[32 + 11] = '\0'; }},
        {"absurd decimals", [](std::string& b) { b[32 + 17] = static_cast<char>(0xFF); }},
        {"cut in the middle of a record", [&](std::string& b) { b.resize(header_length + record_length * 3 / 2); }},
        {"cut inside the header", [](std::string& b) { b.resize(31); }},
        {"no bytes at all", [](std::string& b) { b.clear(); }},
    };
    for (const Lie& lie : lies) {
        std::string lying = soluc_;
        lie.tell(lying);
        write_file(exchange_ / "SOLUC.DBF", lying);
        write_file(saga_, document_);

        const Outcome outcome = run_cli("import", saga_, exchange_, limits_);
        ASSERT_TRUE(outcome.exited) << lie.name << ": " << outcome.describe();
        RecordProperty(lie.name, outcome.exit_code == 0 ? "imported" : outcome.err);
        EXPECT_EQ(read_file(exchange_ / "SOLUC.DBF"), lying) << lie.name << ": SOLUC must never be written";
        if (outcome.exit_code == 0) {
            EXPECT_TRUE(outcome.reported_done()) << lie.name;
            enlazor::XmlDocument saved;
            EXPECT_NO_THROW(saved.load(saga_)) << lie.name << ": the saved document no longer loads";
        } else {
            EXPECT_EQ(outcome.exit_code, 1) << lie.name << ": " << outcome.describe();
            EXPECT_FALSE(outcome.err.empty()) << lie.name;
            EXPECT_FALSE(outcome.reported_done()) << lie.name;
            EXPECT_EQ(read_file(saga_), document_) << lie.name;
        }
    }
}

// The five bytes Windows-1252 leaves undefined decode to U+0081, U+008D,
// U+008F, U+0090 and U+009D, characters XML may carry; a document in a
// single-byte encoding carries them as character references.
std::u16string attribute(const enlazor::XmlDocument& document, const std::vector<std::string>& path,
                         const char* name) {
    const auto nodes = enlazor::select_nodes(document.root(), path);
    if (nodes.empty())
        return u"(missing element)";
    return enlazor::attribute_text(nodes.front(), name).value_or(u"(missing attribute)");
}

std::string as_latin1(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xC3 && i + 1 < utf8.size())
            bytes += static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40);
        else
            bytes += utf8[i];
    }
    return bytes;
}

TEST_F(HostileSolutions, CodesWithBytesUndefinedInWindows1252ReachTheDocumentAndReadBack) {
    const std::string subject = a_subject_code();
    for (const bool single_byte : {false, true}) {
        std::string xml = document_;
        if (single_byte) {
            xml = as_latin1(xml);
            xml.replace(xml.find("UTF-8"), 5, "windows-1252");
        }
        write_file(saga_, xml);
        write_solution("\x81G", "\x8D\x8F", subject, "\x90\x9D");

        const Outcome outcome = run_cli("import", saga_, exchange_, limits_);
        const std::string what = single_byte ? "windows-1252 document" : "UTF-8 document";
        ASSERT_EQ(outcome.exit_code, 0) << what << ": " << outcome.describe();
        enlazor::XmlDocument saved;
        ASSERT_NO_THROW(saved.load(saga_)) << what;
        const std::vector<std::string> input = {"document", "time-tables", "time-table", "inputs", "input"};
        auto below = [&](const char* list, const char* item) {
            std::vector<std::string> path = input;
            path.push_back(list);
            path.push_back(item);
            return path;
        };
        EXPECT_EQ(attribute(saved, below("groups", "group"), "id"), u"\u0081G") << what;
        EXPECT_EQ(attribute(saved, below("members", "member"), "id"), u"\u008D\u008F") << what;
        EXPECT_EQ(attribute(saved, below("locations", "location"), "id"), u"\u0090\u009D") << what;
    }
}

TEST_F(HostileSolutions, ASubjectCodeWithUndefinedBytesStopsTheImportWithTheListsError) {
    write_solution("G", "P", "\x81\x9D", "A");
    const Outcome outcome = run_cli("import", saga_, exchange_, limits_);
    EXPECT_EQ(outcome.exit_code, 1) << outcome.describe();
    EXPECT_THAT(outcome.err, HasSubstr("List index out of bounds (-1)"));
    EXPECT_EQ(read_file(saga_), document_);
}

} // namespace
} // namespace faults
