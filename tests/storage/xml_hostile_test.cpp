// Documents made to hurt: entity tricks, absurd nesting, cut-off and damaged
// files. Each one either loads or gives a clear error; none crashes, reads
// another file or grows without bound.
#include "xml_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace enlazor {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(XmlHostile, DeclaredEntitiesAreReadAndSavedAsTheTextTheyStandFor) {
    const std::string xml = "<!DOCTYPE document [<!ENTITY a \"lol\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
                            "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                            "<document><teacher name=\"&b;\">&d;</teacher></document>";
    std::u16string lols;
    for (int i = 0; i < 8 * 8 * 8; ++i)
        lols += u"lol";
    XmlDocument document;
    document.load_from_memory(xml);
    const pugi::xml_node teacher = document.document_element().first_child();
    EXPECT_EQ(node_text(teacher), lols);
    EXPECT_EQ(attribute_text(teacher, "name"), lols.substr(0, 24));
    XmlDocument again;
    again.load_from_memory(document.serialize());
    EXPECT_EQ(node_text(again.document_element()), lols);
}

TEST(XmlHostile, NothingOutsideTheDocumentIsRead) {
    xmltest::Folder folder;
    const auto secret = folder.write("secreto.txt", "CONTENIDO-SECRETO");
    // An external DTD and an external parameter entity are left unread.
    const std::string dtd = "<!DOCTYPE document SYSTEM \"http://192.0.2.1/saga.dtd\" [\n"
                            "  <!ENTITY local SYSTEM \"file://" + secret.string() + "\">\n"
                            "  <!ENTITY % remote SYSTEM \"file://" + secret.string() + "\"> %remote;\n]>\n";
    XmlDocument document;
    document.load(folder.write("saga.xml", dtd + "<document><teacher>Ana</teacher></document>"));
    EXPECT_EQ(node_text(document.document_element()), u"Ana");
    EXPECT_THAT(document.serialize(), Not(HasSubstr("CONTENIDO-SECRETO")));
    // A reference to an external entity is refused by name.
    const std::string message = xmltest::error_message(
        [&] { document.load(folder.write("saga.xml", dtd + "<document><teacher>&local;</teacher></document>")); });
    EXPECT_THAT(message, HasSubstr("usa la entidad externa «local»"));
    EXPECT_THAT(message, Not(HasSubstr("CONTENIDO-SECRETO")));
    EXPECT_EQ(node_text(document.document_element()), u"Ana");
}

TEST(XmlHostile, HundredThousandNestedElementsNeitherCrashNorLoseText) {
    constexpr int kDepth = 100000;
    std::string xml;
    for (int i = 0; i < kDepth; ++i)
        xml += "<e>";
    xml += "fondo";
    for (int i = 0; i < kDepth; ++i)
        xml += "</e>";
    {
        XmlDocument document;
        document.load_from_memory(xml);
        EXPECT_EQ(node_text(document.document_element()), u"fondo");
        EXPECT_EQ(node_text(document.root()), u"fondo");
        EXPECT_EQ(first_child_text(document.document_element()), u"fondo");
        EXPECT_EQ(document.serialize(), xml);
    }
    XmlDocument unclosed;
    EXPECT_THROW(unclosed.load_from_memory(xml.substr(0, xml.size() - 4)), Error);
}

TEST(XmlHostile, DeeplyNestedDoctypeSectionsNeitherCrashNorHang) {
    std::string open;
    for (int i = 0; i < 100000; ++i)
        open += "<![INCLUDE[";
    XmlDocument document;
    EXPECT_THROW(document.load_from_memory("<!DOCTYPE a [" + open + "<a/>"), Error);
}

TEST(XmlHostile, ElementNamedLikeTheHiddenPlaceOfNewElementsIsRefused) {
    // Such an element would be left out of every save.
    XmlDocument document;
    EXPECT_THROW(document.load_from_memory("<document><#created>datos</#created></document>"), Error);
}

// Loads `bytes`; a document that loads must have its document element.
void loads_or_fails_cleanly(const std::string& bytes) {
    XmlDocument document;
    try {
        document.load_from_memory(bytes);
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr("documento"));
        return;
    }
    EXPECT_TRUE(document.document_element());
    XmlDocument again;
    EXPECT_NO_THROW(again.load_from_memory(document.serialize()));
}

const char* const kSample =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- c -->\n<!DOCTYPE document [<!ENTITY e \"x\">]>\n"
    "<document>\n  <subjects><subject id=\"SB-1\" name=\"Educación &amp; Física\" hours='4'/></subjects>\n"
    "  <teachers><teacher id=\"PR-1\">Alfa <![CDATA[<Beta>]]> &#233;&e;<?pi x?></teacher></teachers>\n"
    "</document>\n";

TEST(XmlHostile, CutOffAndDamagedDocumentsLoadOrFailCleanly) {
    const std::string utf8 = kSample;
    std::u16string wide;  // each byte as a character: other text, same markup
    for (const char byte : utf8)
        wide += static_cast<char16_t>(static_cast<unsigned char>(byte));
    const std::string utf16 = "\xFF\xFE" + xmltest::utf16_bytes(wide, true);
    for (const std::string& whole : {utf8, utf16})
        for (std::size_t length = 0; length <= whole.size(); ++length)
            loads_or_fails_cleanly(whole.substr(0, length));
    for (const char damage : {'<', '>', '&', '"', '\0', '\xFF', '\x80', '\n'}) {
        for (std::size_t at = 0; at < utf8.size(); ++at) {
            std::string bytes = utf8;
            bytes[at] = damage;
            loads_or_fails_cleanly(bytes);
        }
    }
}

} // namespace
} // namespace enlazor
