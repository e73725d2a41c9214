// Loading a SAGA document: what a good file gives, and the clear error a file
// that cannot be used gives instead, with the place of the fault.
#include "xml_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace enlazor {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using xmltest::error_message;
using xmltest::Folder;

TEST(XmlLoad, FileGivesItsDocumentElementAndEncoding) {
    Folder folder;
    const auto path = folder.write("saga.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>\n</document>\n");
    XmlDocument document;
    document.load(path);
    EXPECT_STREQ(document.document_element().name(), "document");
    EXPECT_EQ(document.encoding(), XmlEncoding::Utf8);
}

struct Malformed {
    const char* what;
    std::string bytes;
    const char* description;
    const char* position;
};

TEST(XmlLoad, MalformedDocumentsNameTheFaultAndItsLineAndColumn) {
    using namespace std::string_literals;
    const std::vector<Malformed> cases = {
        {"empty file", "", "no hay ningún elemento raíz", "(línea 1, columna 1)"},
        {"only a declaration and a comment", "<?xml version=\"1.0\"?>\n<!-- nada -->\n",
         "no hay ningún elemento raíz", "(línea 3, columna 1)"},
        {"element never closed", "<document>\n  <subjects>\n</document>\n", "Start-end tags mismatch",
         "(línea 3, columna 3)"},
        {"attribute value never closed", "<document>\n  <subject id=\"1/>\n", "Error parsing element attribute",
         "(línea 2, columna 16)"},
        {"second document element", "<a/>\n<b/>", "hay más de un elemento raíz", "(línea 2, columna 2)"},
        {"text after the document element", "<a/>texto", "hay texto fuera del elemento raíz",
         "(línea 1, columna 5)"},
        {"CDATA after the document element", "<a/><![CDATA[x]]>", "hay texto fuera del elemento raíz",
         "(línea 1, columna 14)"},
        {"declaration after a line break", "\n<?xml version=\"1.0\"?><a/>", "la declaración XML no está al principio",
         "(línea 2, columna 3)"},
        {"doctype after the document element", "<a/><!DOCTYPE a>", "declaración de tipo de documento fuera de lugar",
         "(línea 1, columna 15)"},
        {"byte that is not UTF-8", "<a>Educación\xFF</a>", "no forman un carácter válido", "(línea 1, columna 13)"},
        {"overlong UTF-8 form", "<a>\xC0\xBC</a>", "no forman un carácter válido", "(línea 1, columna 4)"},
        {"NUL character", "<a>\r\n<b>\0</b></a>"s, "no forman un carácter válido", "(línea 2, columna 4)"},
        {"lines ended by CR alone", "<a>\r\r<b></c></a>", "Start-end tags mismatch", "(línea 3, columna 6)"},
    };
    for (const Malformed& bad : cases) {
        SCOPED_TRACE(bad.what);
        XmlDocument document;
        const std::string message = error_message([&] { document.load_from_memory(bad.bytes, "saga.xml"); });
        EXPECT_THAT(message, StartsWith("El archivo saga.xml no es un documento XML válido: "));
        EXPECT_THAT(message, HasSubstr(bad.description));
        EXPECT_THAT(message, EndsWith(bad.position));
    }
}

TEST(XmlLoad, PositionsInUtf16FilesCountCharacters) {
    const std::string bytes = "\xFF\xFE" + xmltest::utf16_bytes(u"<a>\n  <b>Educación</c></a>", true);
    XmlDocument document;
    EXPECT_THAT(error_message([&] { document.load_from_memory(bytes, "saga.xml"); }),
                EndsWith("(línea 2, columna 17)"));
}

TEST(XmlLoad, MessageNamesTheFilePath) {
    Folder folder;
    const auto path = folder.write("roto.xml", "<document>");
    XmlDocument document;
    EXPECT_THAT(error_message([&] { document.load(path); }),
                StartsWith("El archivo " + path.string() + " no es un documento XML válido: "));
}

TEST(XmlLoad, UnreadableFilesGiveTheSystemReason) {
    Folder folder;
    XmlDocument document;
    EXPECT_EQ(error_message([&] { document.load(folder / "falta.xml"); }),
              "No se puede leer el archivo " + (folder / "falta.xml").string() + ": No such file or directory");
    EXPECT_EQ(error_message([&] { document.load(folder.path()); }),
              "No se puede leer el archivo " + folder.path().string() + ": Is a directory");
}

TEST(XmlLoad, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    Folder folder;
    const auto pipe = folder / "tubo.xml";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    XmlDocument document;
    EXPECT_THAT(error_message([&] { document.load(pipe); }), EndsWith(": no es un archivo normal"));
}

TEST(XmlLoad, EncodingsThatCannotBeReadAreRefusedNotGuessed) {
    XmlDocument document;
    EXPECT_THAT(error_message([&] {
                    document.load_from_memory("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a>\xA4</a>", "x.xml");
                }),
                HasSubstr("usa la codificación ISO-8859-15"));
    EXPECT_THAT(error_message([&] {
                    document.load_from_memory(std::string("\xFF\xFE\0\0<\0\0\0a\0\0\0/\0\0\0>\0\0\0", 20), "x.xml");
                }),
                HasSubstr("usa la codificación UTF-32"));
}

TEST(XmlLoad, FailedLoadKeepsTheDocumentLoadedBefore) {
    XmlDocument document;
    document.load_from_memory("<document><subjects/></document>");
    EXPECT_THROW(document.load_from_memory("<other>"), Error);
    EXPECT_STREQ(document.document_element().name(), "document");
    EXPECT_EQ(document.serialize(), "<document><subjects/></document>");
}

TEST(XmlLoad, NewLoadReplacesTheWholeDocument) {
    XmlDocument document;
    document.load_from_memory("\xEF\xBB\xBF<first/>");
    document.load_from_memory("<second/>");
    EXPECT_STREQ(document.document_element().name(), "second");
    EXPECT_EQ(document.encoding(), XmlEncoding::Utf8);
    EXPECT_EQ(document.serialize(), "<second/>");
}

} // namespace
} // namespace enlazor
