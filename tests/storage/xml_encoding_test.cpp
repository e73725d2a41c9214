// A document comes back in the bytes it was read in: same encoding, same
// byte-order mark, same declaration, same layout; new text the encoding
// lacks is written as character references.
#include "xml_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace enlazor {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using xmltest::utf16_bytes;

struct EncodedDocument {
    const char* what;
    std::string bytes;
    XmlEncoding encoding;
    std::u16string text;  // of <n>
};

std::string utf16_document(const char* bom, bool little_endian) {
    return bom + utf16_bytes(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<document>\r\n"
                             u"  <n>Educación Física – 5 € ñ \U0001F600</n>\r\n</document>\r\n",
                             little_endian);
}

std::vector<EncodedDocument> documents() {
    const std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>\n"
                             "  <n>Educación Física – 5 € ñ \U0001F600</n>\n</document>\n";
    const std::u16string unicode_text = u"Educación Física – 5 € ñ \U0001F600";
    const auto latin = [](const char* name) {
        return std::string("<?xml version=\"1.0\" encoding=\"") + name +
               "\"?>\n<document>\n  <n>Educaci\xF3n F\xEDsica 5 \xF1 \x80\x9F</n>\n</document>\n";
    };
    const auto cp1252 = [](const char* name) {
        return std::string("<?xml version=\"1.0\" encoding=\"") + name +
               "\"?>\n<document>\n  <n>Educaci\xF3n F\xEDsica \x96 5 \x80 \xF1 \x81\x9F</n>\n</document>\n";
    };
    const std::u16string latin_text = u"Educación Física 5 ñ \u0080\u009F";
    const std::u16string cp1252_text = u"Educación Física – 5 € ñ \u0081Ÿ";
    return {
        {"UTF-8", utf8, XmlEncoding::Utf8, unicode_text},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8, XmlEncoding::Utf8Bom, unicode_text},
        {"UTF-16 little-endian", utf16_document("\xFF\xFE", true), XmlEncoding::Utf16LE, unicode_text},
        {"UTF-16 big-endian", utf16_document("\xFE\xFF", false), XmlEncoding::Utf16BE, unicode_text},
        {"UTF-16 without byte-order mark", utf16_document("", true), XmlEncoding::Utf16LE, unicode_text},
        {"ISO-8859-1", latin("ISO-8859-1"), XmlEncoding::Latin1, latin_text},
        {"latin1", latin("latin1"), XmlEncoding::Latin1, latin_text},
        {"iso-8859-1 in lower case", latin("iso-8859-1"), XmlEncoding::Latin1, latin_text},
        {"windows-1252", cp1252("windows-1252"), XmlEncoding::Windows1252, cp1252_text},
        {"CP1252", cp1252("CP1252"), XmlEncoding::Windows1252, cp1252_text},
    };
}

pugi::xml_node text_element(const XmlDocument& document) {
    return select_nodes(document.root(), {"document", "n"}).at(0);
}

TEST(XmlEncodingRoundTrip, EachEncodingReadsItsTextAndSavesItsOwnBytes) {
    for (const EncodedDocument& case_ : documents()) {
        SCOPED_TRACE(case_.what);
        XmlDocument document;
        document.load_from_memory(case_.bytes);
        EXPECT_EQ(document.encoding(), case_.encoding);
        EXPECT_EQ(first_child_text(text_element(document)), case_.text);
        EXPECT_EQ(document.serialize(), case_.bytes);
    }
}

TEST(XmlEncodingRoundTrip, TextTheEncodingLacksComesBackThroughReferences) {
    const std::u16string added = u"ł € – Ÿ \U0001F600 <&>";
    for (const EncodedDocument& case_ : documents()) {
        SCOPED_TRACE(case_.what);
        XmlDocument document;
        document.load_from_memory(case_.bytes);
        set_attribute(text_element(document), "name", added);
        const std::string saved = document.serialize();
        EXPECT_THAT(saved, StartsWith(case_.bytes.substr(0, 4)));

        if (case_.encoding == XmlEncoding::Latin1) {
            EXPECT_THAT(saved, HasSubstr("name=\"&#322; &#8364; &#8211; &#376; &#128512; &lt;&amp;>\""));
        }
        if (case_.encoding == XmlEncoding::Windows1252) {
            EXPECT_THAT(saved, HasSubstr("name=\"&#322; \x80 \x96 \x9F &#128512; &lt;&amp;>\""));
        }

        XmlDocument reloaded;
        reloaded.load_from_memory(saved);
        EXPECT_EQ(reloaded.encoding(), case_.encoding);
        EXPECT_EQ(attribute_text(text_element(reloaded), "name"), added);
        EXPECT_EQ(first_child_text(text_element(reloaded)), case_.text);
    }
}

TEST(XmlEncodingRoundTrip, UnchangedDocumentIsByteIdentical) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"indented, with comments, PIs, CDATA and a doctype",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
         "<!-- exportado desde SAGA -->\n"
         "<!DOCTYPE document [\n  <!ELEMENT document ANY>\n]>\n"
         "<?xml-stylesheet type=\"text/xsl\" href=\"saga.xsl\"?>\n"
         "<document version=\"2\" centro=\"IES\" fecha=\"2024-09-01\">\n"
         "\t<subjects>\n"
         "\t\t<subject id=\"SB-1\" name=\"Lengua\" hours=\"4\"/>\n"
         "\t\t<!-- sin horas -->\n"
         "\t\t<subject name=\"Tutoría\" id=\"SB-2\"/>\n"
         "\t</subjects>\n"
         "\t<teachers>\n"
         "\t\t<teacher id=\"PR-01\"><![CDATA[Alfa <Beta> & Gamma]]></teacher>\n"
         "\t\t<teacher id=\"PR-02\">Delta &amp; Eco &lt;x&gt;<?marca uno?></teacher>\n"
         "\t</teachers>\n"
         "</document>\n"},
        {"Windows line ends and a byte-order mark",
         "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<document>\r\n  <teacher id=\"1\">\r\n    Alfa\r\n  </teacher>\r\n"
         "</document>\r\n\r\n"},
        {"no declaration, no final line break", "<document><a/>\n<b x=\"1\"/></document>"},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        XmlDocument document;
        document.load_from_memory(bytes);
        EXPECT_EQ(document.serialize(), bytes);
    }
}

TEST(XmlEncodingRoundTrip, BundledSampleDocumentIsByteIdentical) {
    const auto path = std::filesystem::path(ENLAZOR_SOURCE_DIR) / "samples" / "saga-ies-ejemplo.xml";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no sample document";
    const std::string original = xmltest::read_bytes(path);
    XmlDocument document;
    document.load(path);
    EXPECT_EQ(document.serialize(), original);
}

TEST(XmlEncodingRoundTrip, ChangedDocumentKeepsItsDeclarationAndEncoding) {
    const std::string original = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<document>\n</document>\n";
    XmlDocument document;
    document.load_from_memory(original);
    const pugi::xml_node section = document.append_child(document.document_element(),
                                                         document.create_element("time-tables"));
    set_attribute(section, "name", u"Educación €");
    EXPECT_EQ(document.serialize(), "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<document>\n"
                                    "<time-tables name=\"Educaci\xF3n \x80\"/></document>\n");
}

} // namespace
} // namespace enlazor
