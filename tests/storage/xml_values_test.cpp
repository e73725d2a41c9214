// Reading values the way the export does (attributes and the first child's
// text), and writing them the way the import does.
#include "xml_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace enlazor {
namespace {

TEST(XmlValues, FirstChildSkipsWhitespaceOnlyTextAndGivesTheTextOfAnyKind) {
    using Text = std::optional<std::u16string>;
    const std::vector<std::pair<const char*, Text>> cases = {
        {"<t>\r\n\t\tAlfa Beta\r\n\t</t>", u"\n\t\tAlfa Beta\n\t"},
        {"<t>\n    <n>Aula <b>12</b></n>\n  </t>", u"Aula 12"},
        {"<t>  \n  </t>", std::nullopt},
        {"<t/>", std::nullopt},
        {"<t>Delta Eco<b>x</b></t>", u"Delta Eco"},
        {"<t>\n  <![CDATA[ <Delta> & Eco ]]>\n</t>", u" <Delta> & Eco "},
        {"<t>\n  <!-- Delta -->Eco</t>", u" Delta "},
        {"<t><?nombre Delta Eco?></t>", u"Delta Eco"},
        {"<t><n>Alfa <i>Bravo</i>\n <![CDATA[Golf]]><!-- no --><?pi no?>\n  <i> Hotel</i>\n</n></t>",
         u"Alfa BravoGolf Hotel"},
        {"<t>Fran&#231;ois &amp; &lt;Zo&#xEB;&gt; &#x20AC; &#x1F600;</t>", u"François & <Zoë> € \U0001F600"},
        {"<!DOCTYPE t [<!ENTITY e \"Eco &#38;amp; <b>Fox</b>\">]><t>&e;</t>", u"Eco & "},
        {"<t>una\r\ndos\rtres</t>", u"una\ndos\ntres"},
    };
    for (const auto& [xml, text] : cases) {
        SCOPED_TRACE(xml);
        XmlDocument document;
        document.load_from_memory(xml);
        EXPECT_EQ(first_child_text(document.document_element()), text);
    }
}

TEST(XmlValues, AttributesAreFoundByTheirExactName) {
    XmlDocument document;
    document.load_from_memory("<s id=\" SB-1 \" HOURS=\"4\" name=\"\" t=\"a&amp;b &#233;\r\nx\ty&#10;z\"/>");
    const pugi::xml_node subject = document.document_element();
    EXPECT_EQ(attribute_text(subject, "id"), u" SB-1 ");
    EXPECT_EQ(attribute_text(subject, "hours"), std::nullopt);
    EXPECT_EQ(attribute_text(subject, "HOURS"), u"4");
    EXPECT_EQ(attribute_text(subject, "name"), u"");
    EXPECT_EQ(attribute_text(subject, "t"), u"a&b é x y\nz");  // literal line ends read as spaces
    EXPECT_EQ(attribute_text(subject, nullptr), std::nullopt);
}

TEST(XmlValues, SetAttributeAppendsInOrderReplacesInPlaceAndSurvivesAReload) {
    const std::u16string awkward = u"<Física & Química> \"1º\" 'B' €\tfin\nlínea\u0001\uFFFE";
    XmlDocument document;
    document.load_from_memory("<document/>");
    const pugi::xml_node root = document.document_element();
    set_attribute(root, "id", u"input1");
    set_attribute(root, "day", u"2");
    set_attribute(root, "interval", u"i3");
    set_attribute(root, "day", u"5");
    EXPECT_EQ(document.serialize(), "<document id=\"input1\" day=\"5\" interval=\"i3\"/>");

    set_attribute(root, "name", awkward);
    XmlDocument reloaded;
    reloaded.load_from_memory(document.serialize());
    EXPECT_EQ(attribute_text(reloaded.document_element(), "name"), awkward.substr(0, awkward.size() - 2));
}

TEST(XmlValues, NamesMarkupCannotHoldAreRefused) {
    XmlDocument document;
    document.load_from_memory("<document/>");
    for (const char* name : {"", "time tables", "a<b", "x=\"1\"", "1st"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(document.create_element(name), Error);
        EXPECT_THROW(set_attribute(document.document_element(), name, u"v"), Error);
    }
    EXPECT_EQ(document.serialize(), "<document/>");
}

TEST(XmlValues, AppendedElementKeepsWhatIsAddedThroughEitherHandle) {
    XmlDocument document;
    document.load_from_memory("<document>\n  <subjects/>\n</document>\n");
    const pugi::xml_node created = document.create_element("time-tables");
    set_attribute(created, "before", u"1");
    const pugi::xml_node table = document.create_element("time-table");
    document.append_child(created, table);  // built before it joins the tree
    const pugi::xml_node appended = document.append_child(document.document_element(), created);
    set_attribute(created, "through-created", u"2");
    set_attribute(appended, "through-appended", u"3");
    document.append_child(table, document.create_element("days"));
    document.create_element("never-appended");
    EXPECT_STREQ(document.document_element().name(), "document");
    EXPECT_EQ(document.serialize(),
              "<document>\n  <subjects/>\n<time-tables before=\"1\" through-created=\"2\" through-appended=\"3\">"
              "<time-table><days/></time-table></time-tables></document>\n");
}

TEST(XmlValues, ElementOfAnotherDocumentCannotBeAppended) {
    XmlDocument document;
    document.load_from_memory("<document/>");
    XmlDocument other;
    EXPECT_THROW(document.append_child(document.document_element(), other.create_element("foreign")), Error);
    EXPECT_THROW(document.append_child(document.document_element(), pugi::xml_node()), Error);
    EXPECT_EQ(document.serialize(), "<document/>");
}

} // namespace
} // namespace enlazor
