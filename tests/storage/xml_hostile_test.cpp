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
using xmltest::Folder;

TEST(XmlHostile, BillionLaughsIsNotExpanded) {
    std::string doctype = "<!DOCTYPE document [\n<!ENTITY lol \"lol\">\n";
    for (int level = 1; level <= 9; ++level) {
        const std::string previous = level == 1 ? "lol" : "lol" + std::to_string(level - 1);
        doctype += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            doctype += "&" + previous + ";";
        doctype += "\">\n";
    }
    const std::string xml = doctype + "]>\n<document><teacher>&lol9;</teacher></document>";
    XmlDocument document;
    document.load_from_memory(xml);
    EXPECT_EQ(first_child_text(select_nodes(document.root(), {"document", "teacher"}).at(0)), u"&lol9;");
    EXPECT_LT(document.serialize().size(), 2 * xml.size());
}

TEST(XmlHostile, ExternalEntitiesReadNoFile) {
    Folder folder;
    const auto secret = folder.write("secreto.txt", "CONTENIDO-SECRETO");
    const std::string xml = "<!DOCTYPE document [\n"
                            "  <!ENTITY local SYSTEM \"file://" + secret.string() + "\">\n"
                            "  <!ENTITY passwd SYSTEM \"file:///etc/passwd\">\n"
                            "  <!ENTITY % remote SYSTEM \"http://192.0.2.1/saga.dtd\"> %remote;\n"
                            "]>\n<document><teacher>&local;</teacher><teacher>&passwd;</teacher></document>";
    XmlDocument document;
    document.load(folder.write("saga.xml", xml));
    const auto teachers = select_nodes(document.root(), {"document", "teacher"});
    ASSERT_EQ(teachers.size(), 2u);
    EXPECT_EQ(node_text(teachers[0]), u"&local;");
    EXPECT_EQ(node_text(teachers[1]), u"&passwd;");
    EXPECT_THAT(document.serialize(), Not(HasSubstr("CONTENIDO-SECRETO")));
    EXPECT_THAT(document.serialize(), Not(HasSubstr("root:")));
}

TEST(XmlHostile, ExternalDocumentTypeIsNotFetched) {
    XmlDocument document;
    document.load_from_memory("<!DOCTYPE document SYSTEM \"http://192.0.2.1/saga.dtd\"><document>ok</document>");
    EXPECT_EQ(node_text(document.document_element()), u"ok");
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
    std::string xml = "<!DOCTYPE a [";
    for (int i = 0; i < 100000; ++i)
        xml += "<![INCLUDE[";
    XmlDocument document;
    EXPECT_THROW(document.load_from_memory(xml + "<a/>"), Error);
    for (int i = 0; i < 100000; ++i)
        xml += "]]>";
    try {
        document.load_from_memory(xml + "]><a/>");
        EXPECT_STREQ(document.document_element().name(), "a");
    } catch (const Error&) {
        // refusing it is as good as reading it
    }
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

TEST(XmlHostile, EveryCutOffDocumentLoadsOrFailsCleanly) {
    const std::string utf8 = kSample;
    for (std::size_t length = 0; length <= utf8.size(); ++length)
        loads_or_fails_cleanly(utf8.substr(0, length));
    std::u16string wide;
    for (const char c : utf8)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    const std::string utf16 = "\xFF\xFE" + xmltest::utf16_bytes(wide, true);
    for (std::size_t length = 0; length <= utf16.size(); ++length)
        loads_or_fails_cleanly(utf16.substr(0, length));
}

TEST(XmlHostile, EveryDamagedByteLoadsOrFailsCleanly) {
    const std::string original = kSample;
    for (const char damage : {'<', '>', '&', '"', '\0', '\xFF', '\x80', '\n'}) {
        for (std::size_t at = 0; at < original.size(); ++at) {
            std::string bytes = original;
            bytes[at] = damage;
            loads_or_fails_cleanly(bytes);
        }
    }
}

} // namespace
} // namespace enlazor
