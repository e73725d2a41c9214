// Reading values the way the export does (attributes and the first child's
// text), and writing them the way the import does.
#include "xml_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace enlazor {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

pugi::xml_node only(const XmlDocument& document, std::vector<std::string> steps) {
    const auto nodes = select_nodes(document.root(), steps);
    return nodes.size() == 1 ? nodes.front() : pugi::xml_node();
}

TEST(XmlValues, WhitespaceBetweenElementsIsNoFirstChild) {
    XmlDocument document;
    document.load_from_memory("<document>\r\n\t<teacher id=\"PR-01\">\r\n\t\tAlfa Beta\r\n\t</teacher>\n"
                              "  <location>\n    <name>Aula <b>12</b></name>\n  </location>\n"
                              "  <empty>  \n  </empty>\n  <none/>\n</document>");
    const pugi::xml_node teacher = only(document, {"document", "teacher"});
    EXPECT_EQ(first_child(teacher).type(), pugi::node_pcdata);
    EXPECT_EQ(first_child_text(teacher), u"\n\t\tAlfa Beta\n\t");

    const pugi::xml_node location = only(document, {"document", "location"});
    EXPECT_STREQ(first_child(location).name(), "name");
    EXPECT_EQ(first_child_text(location), u"Aula 12");

    EXPECT_EQ(first_child_text(only(document, {"document", "empty"})), std::nullopt);
    EXPECT_EQ(first_child_text(only(document, {"document", "none"})), std::nullopt);
    EXPECT_STREQ(first_child(document.document_element()).name(), "teacher");
}

TEST(XmlValues, FirstChildOfAnyKindGivesItsText) {
    struct Case {
        const char* xml;
        std::u16string text;
    };
    const std::vector<Case> cases = {
        {"<t>Delta Eco<b>x</b></t>", u"Delta Eco"},
        {"<t>\n  <![CDATA[ <Delta> & Eco ]]>\n</t>", u" <Delta> & Eco "},
        {"<t>\n  <!-- Delta -->Eco</t>", u" Delta "},
        {"<t><?nombre Delta Eco?></t>", u"Delta Eco"},
        {"<t><n>Alfa <i>Bravo</i>\n <![CDATA[Golf]]><!-- no --><?pi no?></n></t>", u"Alfa BravoGolf"},
        {"<t>Fran&#231;ois &amp; &lt;Zo&#xEB;&gt; &#x20AC; &#x1F600;</t>", u"François & <Zoë> € \U0001F600"},
        {"<t>&desconocida;</t>", u"&desconocida;"},
        {"<t>una\r\ndos\rtres</t>", u"una\ndos\ntres"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        XmlDocument document;
        document.load_from_memory(c.xml);
        EXPECT_EQ(first_child_text(document.document_element()), c.text);
    }
}

TEST(XmlValues, ElementTextLeavesOutWhitespaceOnlyTextAtAnyDepth) {
    XmlDocument document;
    document.load_from_memory("<g>\n  <d>\n    <l>Primero</l>\n    <l> A </l>\n  </d>\n</g>");
    EXPECT_EQ(node_text(document.document_element()), u"Primero A ");
}

TEST(XmlValues, AttributesAreFoundByTheirExactName) {
    XmlDocument document;
    document.load_from_memory("<subject id=\" \tSB-1 \" HOURS=\"4\" name=\"\" title=\"a&amp;b &#233; &quot;x&quot;\"/>");
    const pugi::xml_node subject = document.document_element();
    EXPECT_EQ(attribute_text(subject, "id"), u"  SB-1 ");
    EXPECT_EQ(attribute_text(subject, "hours"), std::nullopt);
    EXPECT_EQ(attribute_text(subject, "HOURS"), u"4");
    EXPECT_EQ(attribute_text(subject, "name"), u"");
    EXPECT_EQ(attribute_text(subject, "title"), u"a&b é \"x\"");
    EXPECT_EQ(attribute_text(subject, nullptr), std::nullopt);
    EXPECT_EQ(attribute_text(pugi::xml_node(), "id"), std::nullopt);
}

TEST(XmlValues, LineBreaksInAttributesReadAsSpacesButReferencesStay) {
    XmlDocument document;
    document.load_from_memory("<s name=\"una\r\ndos\ttres&#10;cuatro\"/>");
    EXPECT_EQ(attribute_text(document.document_element(), "name"), u"una dos tres\ncuatro");
}

TEST(XmlValues, SetAttributeAppendsInOrderAndReplacesInPlace) {
    XmlDocument document;
    document.load_from_memory("<document/>");
    const pugi::xml_node element = document.document_element();
    set_attribute(element, "id", u"input1");
    set_attribute(element, "day", u"2");
    set_attribute(element, "interval", u"i3");
    set_attribute(element, "day", u"5");
    EXPECT_EQ(document.serialize(), "<document id=\"input1\" day=\"5\" interval=\"i3\"/>");
}

TEST(XmlValues, AttributeValuesSurviveASaveAndReload) {
    const std::u16string value = u"<Física & Química> \"1º\" 'B' €\tfin\nlínea";
    XmlDocument document;
    document.load_from_memory("<document/>");
    set_attribute(document.document_element(), "name", value);
    XmlDocument reloaded;
    reloaded.load_from_memory(document.serialize());
    EXPECT_EQ(attribute_text(reloaded.document_element(), "name"), value);
}

TEST(XmlValues, CharactersXmlCannotHoldAreLeftOutOfAttributes) {
    XmlDocument document;
    document.load_from_memory("<document/>");
    set_attribute(document.document_element(), "name", std::u16string(u"a\u0001b\u001Fc\uFFFEd\0e", 9));
    EXPECT_EQ(attribute_text(document.document_element(), "name"), u"abcde");
    XmlDocument reloaded;
    EXPECT_NO_THROW(reloaded.load_from_memory(document.serialize()));
}

TEST(XmlValues, NamesMarkupCannotHoldAreRefused) {
    XmlDocument document;
    document.load_from_memory("<document/>");
    for (const char* name : {"", "time tables", "a<b", "x=\"1\"", "1st", "a&b"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(document.create_element(name), Error);
        EXPECT_THROW(set_attribute(document.document_element(), name, u"v"), Error);
    }
    EXPECT_THROW(set_attribute(document.document_element(), nullptr, u"v"), Error);
    EXPECT_EQ(document.serialize(), "<document/>");
}

class XmlBuilding : public ::testing::Test {
protected:
    void SetUp() override { document.load_from_memory("<document>\n  <subjects/>\n</document>\n"); }
    XmlDocument document;
};

TEST_F(XmlBuilding, AppendedElementKeepsWhatIsAddedThroughEitherHandle) {
    const pugi::xml_node created = document.create_element("time-tables");
    set_attribute(created, "before", u"1");
    const pugi::xml_node appended = document.append_child(document.document_element(), created);
    set_attribute(created, "through-created", u"2");
    set_attribute(appended, "through-appended", u"3");
    const pugi::xml_node child = document.create_element("time-table");
    document.append_child(created, child);
    EXPECT_EQ(document.serialize(),
              "<document>\n  <subjects/>\n<time-tables before=\"1\" through-created=\"2\" through-appended=\"3\">"
              "<time-table/></time-tables></document>\n");
}

TEST_F(XmlBuilding, SubtreeBuiltBeforeAppendingMovesWhole) {
    const pugi::xml_node input = document.create_element("input");
    const pugi::xml_node groups = document.create_element("groups");
    document.append_child(input, groups);
    document.append_child(groups, document.create_element("group"));
    document.append_child(document.document_element(), input);
    EXPECT_EQ(node_text(document.root()), u"");
    EXPECT_THAT(document.serialize(), HasSubstr("<input><groups><group/></groups></input></document>"));
}

TEST_F(XmlBuilding, ElementsNeverAppendedAreInvisibleAndNotSaved) {
    pugi::xml_node stray = document.create_element("stray");
    stray.append_child(pugi::node_pcdata).set_value("hidden");
    EXPECT_STREQ(document.document_element().name(), "document");
    EXPECT_EQ(node_text(document.root()), u"");
    EXPECT_EQ(document.serialize(), "<document>\n  <subjects/>\n</document>\n");
}

TEST_F(XmlBuilding, ElementOfAnotherDocumentCannotBeAppended) {
    XmlDocument other;
    const pugi::xml_node foreign = other.create_element("foreign");
    EXPECT_THROW(document.append_child(document.document_element(), foreign), Error);
    EXPECT_THROW(document.append_child(document.document_element(), pugi::xml_node()), Error);
    EXPECT_THAT(document.serialize(), Not(HasSubstr("foreign")));
}

TEST_F(XmlBuilding, EmptyDocumentCanBeBuiltFromNothing) {
    XmlDocument fresh;
    fresh.create_element("unused");
    const pugi::xml_node root = fresh.append_child(fresh.root(), fresh.create_element("document"));
    EXPECT_EQ(fresh.document_element(), root);
    EXPECT_EQ(fresh.serialize(), "<document/>");
}

} // namespace
} // namespace enlazor
