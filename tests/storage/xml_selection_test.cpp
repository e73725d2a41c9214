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
  <extra><subjects><subject id="too-deep"/></subjects></extra>
  <subjects><!-- a second section counts too --><subject id="S2"/></subjects>
  <groups>
    <group id="G1">
      <assigned-subjects><assigned-subject id="G1-A"/><assigned-subject id="G1-B"/></assigned-subjects>
    </group>
    <group id="G2">
      <assigned-subjects><assigned-subject id="G2-A"/></assigned-subjects>
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

using Ids = std::vector<std::string>;

TEST(XmlSelection, AbsolutePathGivesEveryMatchInDocumentOrderAtThatDepthOnly) {
    XmlDocument document;
    document.load_from_memory(kSchool);
    EXPECT_EQ(ids(select_nodes(document.root(), {"document", "subjects", "subject"})), (Ids{"S3", "S1", "S2"}));
    EXPECT_TRUE(select_nodes(document.root(), {"Document", "subjects", "subject"}).empty());
    EXPECT_TRUE(select_nodes(document.root(), {"subjects", "subject"}).empty());
    document.create_element("document");  // waiting to be appended: not part of the tree
    EXPECT_EQ(select_nodes(document.root(), {"document"}).size(), 1u);
}

TEST(XmlSelection, RelativePathReachesOnlyTheGrandchildrenOfItsElement) {
    XmlDocument document;
    document.load_from_memory(kSchool);
    const auto groups = select_nodes(document.root(), {"document", "groups", "group"});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(ids(select_nodes(groups[0], {"assigned-subjects", "assigned-subject"})), (Ids{"G1-A", "G1-B"}));
    EXPECT_EQ(ids(select_nodes(groups[1], {"assigned-subjects", "assigned-subject"})), (Ids{"G2-A"}));
    EXPECT_TRUE(select_nodes(groups[1], {"assigned-teachers", "assigned-teacher"}).empty());
    EXPECT_TRUE(select_nodes(pugi::xml_node(), {"document"}).empty());
}

} // namespace
} // namespace enlazor
