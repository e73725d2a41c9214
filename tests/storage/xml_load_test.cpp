// Loading a SAGA document: a file that cannot be used gives a clear error
// naming the fault and its place, and leaves the loaded document as it was.
#include "xml_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace enlazor {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using xmltest::error_message;

TEST(XmlLoad, MalformedDocumentsNameTheFaultAndItsLineAndColumn) {
    using namespace std::string_literals;
    const std::vector<std::tuple<std::string, const char*, const char*>> cases = {
        {"", "no hay ningún elemento raíz", "(línea 1, columna 1)"},
        {"<?xml version=\"1.0\"?>\n<!-- nada -->\n", "no hay ningún elemento raíz", "(línea 3, columna 1)"},
        {"<document>\n  <subjects>\n</document>\n", "Start-end tags mismatch", "(línea 3, columna 3)"},
        {"<a>\r\r<b></c></a>", "Start-end tags mismatch", "(línea 3, columna 6)"},
        {"<a/>\n<b/>", "hay más de un elemento raíz", "(línea 2, columna 2)"},
        {"<a/>texto", "hay texto fuera del elemento raíz", "(línea 1, columna 5)"},
        {"<a/><![CDATA[x]]>", "hay texto fuera del elemento raíz", "(línea 1, columna 14)"},
        {"\n<?xml version=\"1.0\"?><a/>", "la declaración XML no está al principio", "(línea 2, columna 3)"},
        {"<a/><!DOCTYPE a>", "declaración de tipo de documento fuera de lugar", "(línea 1, columna 15)"},
        {"<a>Educación\xFF</a>", "no forman un carácter válido", "(línea 1, columna 13)"},
        {"<a>\xC0\xBC</a>", "no forman un carácter válido", "(línea 1, columna 4)"},
        {"<a>\r\n<b>\0</b></a>"s, "no forman un carácter válido", "(línea 2, columna 4)"},
        {"\xFF\xFE" + xmltest::utf16_bytes(u"<a>\n  <b>Educación</c></a>", true), "Start-end tags mismatch",
         "(línea 2, columna 17)"},
    };
    for (const auto& [bytes, description, position] : cases)
        for (const XmlUse use : {XmlUse::Edit, XmlUse::ReadOnly}) {
            SCOPED_TRACE(bytes);
            XmlDocument document;
            const std::string message =
                error_message([&] { document.load_from_memory(bytes, "saga.xml", use); });
            EXPECT_THAT(message, StartsWith("El archivo saga.xml no es un documento XML válido: "));
            EXPECT_THAT(message, HasSubstr(description));
            EXPECT_THAT(message, EndsWith(position));
        }
}

// A document loaded only to be read has no whitespace between its elements,
// which the reading helpers never see anyway, and refuses to be saved
// without its layout.
TEST(XmlLoad, ReadOnlyDocumentReadsTheSameAndIsNeverSaved) {
    const std::string bytes = "<document>\n  <teacher id=\" T1 \">\n    Ana <b>Gil</b>\n  </teacher>\n"
                              "  <teacher>\n  </teacher>\n</document>\n";
    XmlDocument edited;
    XmlDocument read_only;
    edited.load_from_memory(bytes);
    read_only.load_from_memory(bytes, "documento", XmlUse::ReadOnly);
    const auto texts = [](const XmlDocument& document) {
        std::vector<std::optional<WideText>> texts;
        for (pugi::xml_node teacher : select_nodes(document.root(), {"document", "teacher"})) {
            texts.push_back(first_child_text(teacher));
            texts.push_back(attribute_text(teacher, "id"));
        }
        return texts;
    };
    EXPECT_EQ(texts(read_only), texts(edited));
    EXPECT_EQ(edited.serialize(), bytes);
    EXPECT_THROW(read_only.serialize(), Error);
}

TEST(XmlLoad, EncodingsThatCannotBeReadAreRefusedNotGuessed) {
    XmlDocument document;
    EXPECT_THAT(error_message([&] {
                    document.load_from_memory("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a>\xA4</a>");
                }),
                HasSubstr("usa la codificación ISO-8859-15"));
    EXPECT_THAT(error_message([&] { document.load_from_memory(std::string("\xFF\xFE\0\0<\0\0\0", 8)); }),
                HasSubstr("usa la codificación UTF-32"));
}

TEST(XmlLoad, FailedLoadKeepsTheDocumentLoadedBefore) {
    XmlDocument document;
    document.load_from_memory("<document><subjects/></document>");
    EXPECT_THROW(document.load_from_memory("<other>"), Error);
    EXPECT_STREQ(document.document_element().name(), "document");
    EXPECT_EQ(document.serialize(), "<document><subjects/></document>");
}

} // namespace
} // namespace enlazor
