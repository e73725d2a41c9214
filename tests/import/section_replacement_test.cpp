// The document gets exactly one new time-tables section, as its last child,
// whatever sections it held before and wherever they stood.
#include "import_fixture.h"

using namespace enlazor;
using namespace enlazor::testing;

namespace {

class SectionReplacement : public ImportFixture {
protected:
    void SetUp() override { write_empty_tables(); }

    // Element children of the saved document element, by name.
    std::vector<std::string> top_level() {
        pugi::xml_document saved;
        saved.load_file(saga_path().c_str());
        return child_names(saved.document_element());
    }
};

TEST_F(SectionReplacement, DocumentWithoutSectionGetsOneAsLastChild) {
    write_document("<document><subjects/><groups/></document>");
    import();
    EXPECT_EQ(top_level(), (std::vector<std::string>{"subjects", "groups", "time-tables"}));
}

TEST_F(SectionReplacement, AllOldSectionsGoAndTheNewOneFollowsEveryOtherChild) {
    write_document(
        "<document><time-tables><time-table id=\"old1\"/></time-tables><subjects/>"
        "<time-tables><time-table id=\"old2\"/></time-tables><groups/></document>");
    import();
    EXPECT_EQ(top_level(), (std::vector<std::string>{"subjects", "groups", "time-tables"}));
    EXPECT_STREQ(time_table().attribute("id").value(), "tt1");
    EXPECT_EQ(document_bytes().find("old"), std::string::npos);
}

TEST_F(SectionReplacement, DeeperSectionsAndLookAlikeNodesStay) {
    write_document(
        "<document><?time-tables keep?><groups><time-tables id=\"nested\"/></groups></document>");
    import();
    const std::string saved = document_bytes();
    EXPECT_NE(saved.find("<time-tables id=\"nested\""), std::string::npos);
    EXPECT_NE(saved.find("<?time-tables keep?>"), std::string::npos);
    EXPECT_EQ(top_level(), (std::vector<std::string>{"groups", "time-tables"}));
}

TEST_F(SectionReplacement, TimeTableNamesHoralisAndHoldsTheFiveListsInOrder) {
    write_document();
    import();
    pugi::xml_node tt = time_table();
    EXPECT_EQ(attributes_of(tt), "id=tt1 name=Horalis");
    EXPECT_EQ(child_names(tt),
              (std::vector<std::string>{"days", "groups", "members", "activities", "inputs"}));
    EXPECT_EQ(child_names(tt.parent()), std::vector<std::string>{"time-table"});
    EXPECT_TRUE(tt.parent().attributes().empty());
}

TEST_F(SectionReplacement, NewSectionHoldsElementsOnlyNoWhitespace) {
    write_document("<document>\n  <subjects/>\n</document>\n");
    write_day_periods({{"1", "1", "Lunes", "8:00", "8:55"}});
    write_groups({{"1A", "GR-1"}});
    write_teachers({{"ABG", "PR-1"}});
    write_subjects({{"A101", "SB-1", "Lengua"}});
    write_rooms({{"A1", "LC-1"}});
    write_solution({{"1A", "ABG", "A101", "A1", "1", "1", "1"}});
    import();
    pugi::xml_document saved;
    ASSERT_TRUE(saved.load_file(saga_path().c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
    pugi::xml_node section = saved.document_element().last_child();
    ASSERT_STREQ(section.name(), "time-tables");
    struct Walker : pugi::xml_tree_walker {
        std::size_t elements = 0, others = 0;
        bool for_each(pugi::xml_node& node) override {
            (node.type() == pugi::node_element ? elements : others)++;
            return true;
        }
    } walker;
    section.traverse(walker);
    EXPECT_EQ(walker.others, 0u);
    // time-table, 5 lists, day, interval, group, member, activity, input and its 6 nodes
    EXPECT_EQ(walker.elements, 1u + 5 + 1 + 1 + 1 + 1 + 1 + 1 + 6);
}

} // namespace
