// What the export reads from the document before the catalogs are written:
// the assignments' ids, and a catalog's records derived apart from writing
// them. Both must give exactly what the walk in one pass gives.
#include "export_test_support.h"

#include "export/assignments.h"
#include "export/catalog_table.h"
#include "export/table_builders.h"
#include "storage/exchange.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace enlazor::testing {
namespace {

struct Loaded {
    explicit Loaded(const std::string& xml) { document.load_from_memory(xml, "saga.xml", XmlUse::ReadOnly); }
    XmlDocument document;
};

std::string id_of(const AssignedIds::Id& id) {
    return id.ascii ? std::string(*id.ascii) : "<" + std::string(id.element.attribute("id").value()) + ">";
}

TEST(AssignedIds, ListEveryGroupSubjectAndTeacherInDocumentOrder) {
    const Loaded loaded(saga_document(
        "<groups><group id=' G1 '><assigned-subjects>"
        "<assigned-subject id='S1'><assigned-teachers><assigned-teacher id='T1'/>"
        "<assigned-teacher id='Tñ'/></assigned-teachers></assigned-subject>"
        "<assigned-subject><other><assigned-teacher id='no'/></other></assigned-subject>"
        "</assigned-subjects><assigned-subjects><assigned-subject id='S€'/></assigned-subjects>"
        "</group><group/><group id='G3'><assigned-subjects><assigned-subject id='S3'>"
        "<assigned-teachers><assigned-teacher/></assigned-teachers></assigned-subject>"
        "</assigned-subjects></group></groups><assigned-subject id='outside'/>"));
    const AssignedIds ids(loaded.document);

    // Each group with its subjects, each subject with its teachers; ids that
    // are not plain ASCII (or missing) are left to be read where resolved.
    std::vector<std::string> walk;
    std::size_t subject = 0, teacher = 0;
    for (const AssignedIds::Group& group : ids.groups) {
        walk.push_back("group " + (group.id.ascii ? std::string(*group.id.ascii) : "-"));
        for (; subject < group.subjects_end; ++subject) {
            walk.push_back("  subject " + id_of(ids.subjects[subject].id));
            for (; teacher < ids.subjects[subject].teachers_end; ++teacher)
                walk.push_back("    teacher " + id_of(ids.teachers[teacher]));
        }
    }
    const std::vector<std::string> expected = {
        "group G1", "  subject S1", "    teacher T1", "    teacher <Tñ>", "  subject <>",
        "  subject <S€>", "group -", "group G3", "  subject S3", "    teacher <>"};
    EXPECT_EQ(walk, expected);
    EXPECT_EQ(subject, ids.subjects.size());
    EXPECT_EQ(teacher, ids.teachers.size());
}

std::string table_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return bytes.size() > 4 ? bytes.erase(1, 3) : bytes;  // not the date of the update
}

// Every catalog, from the sample school, from a document full of odd values
// and from one with empty sections: the same file either way.
TEST(CatalogDerivedAhead, IsWrittenAsTheOnePassBuilderWritesIt) {
    const std::filesystem::path documents[] = {
        source_file("tests/export/fixtures/small_school.xml"),
        source_file("tests/check/fixtures/every_export_finding.xml")};
    std::vector<std::string> texts;
    for (const auto& path : documents) {
        std::ifstream in(path, std::ios::binary);
        texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    texts.push_back(saga_document("<subjects/><teachers/><groups/>"));

    for (const std::string& text : texts)
        for (const CatalogTable* catalog : {&kSubjectTable, &kTeacherTable, &kRoomTable, &kGroupTable}) {
            const Loaded loaded(text);
            const XmlDocument& document = loaded.document;
            TempDir one_pass, ahead;
            const std::size_t built = build_catalog_table(document, Exchange(Settings{one_pass.path(), ','}),
                                                          *catalog, ignore_export_findings());
            const std::vector<Record> records = derive_catalog(document, *catalog, ignore_export_findings());
            const std::size_t written =
                write_catalog_table(Exchange(Settings{ahead.path(), ','}), *catalog, records);
            const std::string file = std::string(catalog->table) + ".DBF";
            EXPECT_EQ(written, built) << file;
            EXPECT_EQ(table_bytes(ahead.path() / file), table_bytes(one_pass.path() / file)) << file;
        }
}

} // namespace
} // namespace enlazor::testing
