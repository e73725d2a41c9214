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

TEST(XmlLoad, MalformedDocumentsNameTheFaultItsPlaceAndWhatItConcerns) {
    using namespace std::string_literals;
    const std::string bomb = "<!DOCTYPE a [<!ENTITY a0 \"lol\">" + [] {
        std::string levels;
        for (int i = 1; i < 10; ++i)
            levels += "<!ENTITY a" + std::to_string(i) + " \"" + [&] {
                std::string refs;
                for (int k = 0; k < 10; ++k)
                    refs += "&a" + std::to_string(i - 1) + ";";
                return refs;
            }() + "\">";
        return levels;
    }() + "]><a>&a9;</a>";
    const std::string quadratic =
        "<!DOCTYPE a [<!ENTITY x \"" + std::string(100000, 'x') + "\">]><a>" + [] {
            std::string refs;
            for (int i = 0; i < 2000; ++i)
                refs += "&x;";
            return refs;
        }() + "</a>";
    const std::vector<std::tuple<std::string, const char*, const char*>> cases = {
        {"", "no hay ningún elemento raíz", "(línea 1, columna 1)"},
        {"<?xml version=\"1.0\"?>\n<!-- nada -->\n", "no hay ningún elemento raíz", "(línea 3, columna 1)"},
        {"<document>\n  <subjects>\n</document>\n",
         "la etiqueta de cierre </document> no corresponde al elemento «subjects»", "(línea 3, columna 3)"},
        {"<a>\r\r<b></c></a>", "la etiqueta de cierre </c> no corresponde al elemento «b»", "(línea 3, columna 6)"},
        {"<a/>\n<b/>", "hay contenido después del elemento raíz", "(línea 2, columna 1)"},
        {"<a/>texto", "hay contenido después del elemento raíz", "(línea 1, columna 5)"},
        {"<a/><![CDATA[x]]>", "hay contenido después del elemento raíz", "(línea 1, columna 5)"},
        {"\n<?xml version=\"1.0\"?><a/>", "la declaración XML no está al principio", "(línea 2, columna 1)"},
        {"<a/><!DOCTYPE a>", "hay contenido después del elemento raíz", "(línea 1, columna 5)"},
        {"<a>Educación\xFF</a>", "no forman un carácter válido", "(línea 1, columna 13)"},
        {"<a>\xC0\xBC</a>", "no forman un carácter válido", "(línea 1, columna 4)"},
        {"<a>\r\n<b>\0</b></a>"s, "no forman un carácter válido", "(línea 2, columna 4)"},
        {"\xFF\xFE" + xmltest::utf16_bytes(u"<a>\n  <b>Educación</c></a>", true),
         "la etiqueta de cierre </c> no corresponde al elemento «b»", "(línea 2, columna 17)"},
        {"<a>x & y</a>", "un «&» o un «<» sueltos", "(línea 1, columna 7)"},
        {"<a><!-- a -- b --></a>", "que XML no permite", "(línea 1, columna 13)"},
        {"<a><x:b/></a>", "se usa el prefijo de espacio de nombres «x» sin declararlo", "(línea 1, columna 4)"},
        {"<a x:c=\"1\"/>", "se usa el prefijo de espacio de nombres «x» sin declararlo", "(línea 1, columna 1)"},
        // HTML's names, which XML never declared: Horalis would show the
        // school "Matem&aacute;ticas".
        {"<document>\n<subject name=\"Matem&aacute;ticas &amp; F&iacute;sica\"/></document>",
         "se usa la entidad «aacute» que el documento no declara", "(línea 2, columna 1)"},
        {"<document>Matem&aacute;ticas</document>", "se usa la entidad «aacute» que el documento no declara",
         "(línea 1, columna 16)"},
        {"<!DOCTYPE a [<!ENTITY e \"&e;\">]><a>&e;</a>", "la entidad «e» se contiene a sí misma", nullptr},
        // Nothing is read from outside the document.
        {"<!DOCTYPE a [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>\n<a>&e;</a>",
         "usa la entidad externa «e», y el programa no lee nada de fuera del documento", "(línea 2, columna 4)"},
        {"<!DOCTYPE a [<!ENTITY e PUBLIC \"-//SAGA//Nombres\" \"http://192.0.2.1/e\">]><a>&e;</a>",
         "usa la entidad externa «e»", nullptr},
        {"<!DOCTYPE a [<!ENTITY e SYSTEM \"e.txt\">]><a b=\"&e;\"/>", "un atributo usa una entidad externa", nullptr},
        {"<!DOCTYPE a SYSTEM \"saga.dtd\">\n<a>&nbsp;</a>",
         "se usa la entidad «nbsp», que el documento no declara (quizá la declare una DTD externa", nullptr},
        {"<!DOCTYPE a SYSTEM \"saga.dtd\"><a b=\"x&nbsp;\"/>", "se usa la entidad «nbsp»", nullptr},
        {bomb, "sus entidades se expanden en un texto desmesurado", nullptr},
        {quadratic, "sus entidades se expanden en un texto desmesurado", nullptr},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>",
         "declara la codificación ISO-8859-1, pero está escrito en UTF-8", "(línea 1, columna 1)"},
    };
    for (const auto& [bytes, description, position] : cases)
        for (const XmlUse use : {XmlUse::Edit, XmlUse::ReadOnly}) {
            SCOPED_TRACE(bytes.substr(0, 200));
            XmlDocument document;
            const std::string message =
                error_message([&] { document.load_from_memory(bytes, "saga.xml", use); });
            EXPECT_THAT(message, StartsWith("El archivo saga.xml no es un documento XML válido: "));
            EXPECT_THAT(message, HasSubstr(description));
            if (position) {
                EXPECT_THAT(message, EndsWith(position));
            }
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
