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

struct Encoded {
    const char* what;
    std::string bytes;
    XmlEncoding encoding;
    std::u16string text;  // of <n>
};

std::vector<Encoded> documents() {
    const std::u16string unicode = u"Educación Física – 5 € ñ \U0001F600";
    const std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>\n  <n>Educación Física – 5 € ñ "
                             "\U0001F600</n>\n</document>\n";
    const auto utf16 = [&](const char* bom, bool little_endian) {
        return bom + xmltest::utf16_bytes(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<document>\r\n  <n>" +
                                              unicode + u"</n>\r\n</document>\r\n",
                                          little_endian);
    };
    const auto single_byte = [](const char* name, const char* text) {
        return std::string("<?xml version=\"1.0\" encoding=\"") + name + "\"?>\n<document>\n  <n>" + text +
               "</n>\n</document>\n";
    };
    const char* latin = "Educaci\xF3n F\xEDsica 5 \xF1 \x80\x9F";
    const char* cp1252 = "Educaci\xF3n F\xEDsica \x96 5 \x80 \xF1 \x81\x9F";
    const std::u16string latin_text = u"Educación Física 5 ñ \u0080\u009F";  // C1 controls, not 1252
    const std::u16string cp1252_text = u"Educación Física – 5 € ñ \u0081Ÿ";
    return {
        {"UTF-8", utf8, XmlEncoding::Utf8, unicode},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8, XmlEncoding::Utf8Bom, unicode},
        {"UTF-16 little-endian", utf16("\xFF\xFE", true), XmlEncoding::Utf16LE, unicode},
        {"UTF-16 big-endian", utf16("\xFE\xFF", false), XmlEncoding::Utf16BE, unicode},
        {"UTF-16 without byte-order mark", utf16("", true), XmlEncoding::Utf16LE, unicode},
        {"ISO-8859-1", single_byte("ISO-8859-1", latin), XmlEncoding::Latin1, latin_text},
        {"latin1", single_byte("latin1", latin), XmlEncoding::Latin1, latin_text},
        {"windows-1252", single_byte("windows-1252", cp1252), XmlEncoding::Windows1252, cp1252_text},
        {"CP1252", single_byte("CP1252", cp1252), XmlEncoding::Windows1252, cp1252_text},
    };
}

pugi::xml_node text_element(const XmlDocument& document) { return document.document_element().child("n"); }

TEST(XmlEncodingRoundTrip, EachEncodingReadsItsTextAndSavesItsOwnBytes) {
    for (const Encoded& encoded : documents()) {
        SCOPED_TRACE(encoded.what);
        XmlDocument document;
        document.load_from_memory(encoded.bytes);
        EXPECT_EQ(document.encoding(), encoded.encoding);
        EXPECT_EQ(first_child_text(text_element(document)), encoded.text);
        EXPECT_EQ(document.serialize(), encoded.bytes);
    }
}

TEST(XmlEncodingRoundTrip, TextTheEncodingLacksComesBackThroughReferences) {
    const std::u16string added = u"ł € – Ÿ \U0001F600 <&>";
    for (const Encoded& encoded : documents()) {
        SCOPED_TRACE(encoded.what);
        XmlDocument document;
        document.load_from_memory(encoded.bytes);
        set_attribute(text_element(document), "name", added);
        const std::string saved = document.serialize();
        EXPECT_THAT(saved, StartsWith(encoded.bytes.substr(0, 4)));
        if (encoded.encoding == XmlEncoding::Latin1) {
            EXPECT_THAT(saved, HasSubstr("name=\"&#322; &#8364; &#8211; &#376; &#128512; &lt;&amp;>\""));
        } else if (encoded.encoding == XmlEncoding::Windows1252) {
            EXPECT_THAT(saved, HasSubstr("name=\"&#322; \x80 \x96 \x9F &#128512; &lt;&amp;>\""));
        }
        XmlDocument reloaded;
        reloaded.load_from_memory(saved);
        EXPECT_EQ(reloaded.encoding(), encoded.encoding);
        EXPECT_EQ(attribute_text(text_element(reloaded), "name"), added);
        EXPECT_EQ(first_child_text(text_element(reloaded)), encoded.text);
    }
}

TEST(XmlEncodingRoundTrip, UnchangedDocumentIsByteIdentical) {
    const auto sample = std::filesystem::path(ENLAZOR_SOURCE_DIR) / "samples" / "saga-ies-ejemplo.xml";
    const std::vector<std::string> cases = {
        xmltest::read_file(sample),
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<!-- exportado desde SAGA -->\n"
        "<!DOCTYPE document [\n  <!ELEMENT document ANY>\n]>\n<?xml-stylesheet href=\"saga.xsl\"?>\n"
        "<document version=\"2\" centro=\"IES\">\n\t<subjects>\n"
        "\t\t<subject id=\"SB-1\" name=\"Lengua\" hours=\"4\"/>\n\t\t<!-- sin horas -->\n"
        "\t\t<subject name=\"Tutoría\" id=\"SB-2\"/>\n\t</subjects>\n"
        "\t<teacher id=\"PR-01\"><![CDATA[Alfa <Beta> & Gamma]]></teacher>\n"
        "\t<teacher id=\"PR-02\">Delta &amp; Eco &lt;x&gt;<?marca uno?></teacher>\n</document>\n",
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<document>\r\n  <t id=\"1\">\r\n    Alfa\r\n  </t>\r\n</document>\r\n\r\n",
        "<document><a/>\n<b x=\"1\"/></document>",
        // Namespace declarations stay among the attributes where they were.
        "<document version=\"2\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xsi:noNamespaceSchemaLocation=\"saga.xsd\" xmlns=\"urn:saga\"><xsi:x xmlns:p=\"urn:p\" p:y=\"1\"/></document>",
        // A carriage return the document holds as a reference stays one.
        "<a>\r\n  <b t=\"x&#13;&#10;y&#9;\">uno&#13;\r\ndos</b>\r\n</a>\r\n",
    };
    ASSERT_GT(cases.front().size(), 1000u) << sample;
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.substr(0, 80));
        XmlDocument document;
        document.load_from_memory(bytes);
        EXPECT_EQ(document.serialize(), bytes);
    }
}

} // namespace
} // namespace enlazor
