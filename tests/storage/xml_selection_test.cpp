// Selecting elements by child steps: exact names, exact depth, document order.
#include "xml_test_support.h"

#include <gtest/gtest.h>

namespace enlazor {
namespace {

const char* const kSchool = R"(<?xml version="1.0"?>
<document>
  <subjects>
    <subject id="S3"/>
    <Subject id="wrong-case"/>
    <subject id="S1"/>
  </subjects>
  <extra>
    <subjects><subject id="too-deep"/></subjects>
  </extra>
  <subjects>
    <!-- a second section counts too -->
    <subject id="S2"/>
  </subjects>
  <groups>
    <group id="G1">
      <assigned-subjects>
        <assigned-subject id="G1-A"><assigned-teachers><assigned-teacher id="T1"/></assigned-teachers></assigned-subject>
        <assigned-subject id="G1-B"/>
      </assigned-subjects>
    </group>
    <group id="G2">
      <assigned-subjects><assigned-subject id="G2-A"/></assigned-subjects>
      <assigned-subjects><assigned-subject id="G2-B"/></assigned-subjects>
      <other><assigned-subjects><assigned-subject id="G2-deep"/></assigned-subjects></other>
    </group>
  </groups>
</document>
)";

std::vector<std::string> ids(const std::vector<pugi::xml_node>& nodes) {
    std::vector<std::string> result;
    for (const pugi::xml_node node : nodes)
        result.push_back(node.attribute("id").value());
    return result;
}

class XmlSelection : public ::testing::Test {
protected:
    void SetUp() override { document.load_from_memory(kSchool); }
    XmlDocument document;
};

TEST_F(XmlSelection, AbsolutePathGivesEveryMatchInDocumentOrderAtThatDepthOnly) {
    EXPECT_EQ(ids(select_nodes(document.root(), {"document", "subjects", "subject"})),
              (std::vector<std::string>{"S3", "S1", "S2"}));
}

TEST_F(XmlSelection, FirstStepMustNameTheDocumentElement) {
    EXPECT_TRUE(select_nodes(document.root(), {"Document", "subjects", "subject"}).empty());
    EXPECT_TRUE(select_nodes(document.root(), {"subjects", "subject"}).empty());

    XmlDocument other;
    other.load_from_memory("<school><subjects><subject id=\"S1\"/></subjects></school>");
    EXPECT_TRUE(select_nodes(other.root(), {"document", "subjects", "subject"}).empty());
}

TEST_F(XmlSelection, RelativePathReachesOnlyTheGrandchildrenOfItsElement) {
    const auto groups = select_nodes(document.root(), {"document", "groups", "group"});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(ids(select_nodes(groups[0], {"assigned-subjects", "assigned-subject"})),
              (std::vector<std::string>{"G1-A", "G1-B"}));
    EXPECT_EQ(ids(select_nodes(groups[1], {"assigned-subjects", "assigned-subject"})),
              (std::vector<std::string>{"G2-A", "G2-B"}));

    const auto assigned = select_nodes(groups[0], {"assigned-subjects", "assigned-subject"});
    EXPECT_EQ(ids(select_nodes(assigned[0], {"assigned-teachers", "assigned-teacher"})),
              (std::vector<std::string>{"T1"}));
    EXPECT_TRUE(select_nodes(assigned[1], {"assigned-teachers", "assigned-teacher"}).empty());
}

TEST_F(XmlSelection, NothingToStartFromGivesAnEmptyList) {
    EXPECT_TRUE(select_nodes(pugi::xml_node(), {"document"}).empty());
    XmlDocument empty;
    EXPECT_TRUE(select_nodes(empty.root(), {"document", "subjects", "subject"}).empty());
}

TEST_F(XmlSelection, ElementsWaitingToBeAppendedAreNotSelected) {
    document.create_element("document");
    EXPECT_EQ(select_nodes(document.root(), {"document"}).size(), 1u);
}

TEST_F(XmlSelection, LongListsComeBackWhole) {
    std::string xml = "<document><subjects>";
    for (int i = 0; i < 50000; ++i)
        xml += "<subject id=\"" + std::to_string(i) + "\"/>";
    xml += "</subjects></document>";
    XmlDocument big;
    big.load_from_memory(xml);
    const auto subjects = select_nodes(big.root(), {"document", "subjects", "subject"});
    ASSERT_EQ(subjects.size(), 50000u);
    EXPECT_STREQ(subjects.back().attribute("id").value(), "49999");
}

} // namespace
} // namespace enlazor
