// Files that cannot be read as a document: the error names the path and why.
#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace enlazor {
namespace {

using xmltest::error_message;

TEST(XmlLoad, UnreadableFilesGiveThePathAndTheReason) {
    xmltest::Folder folder;
    const auto pipe = folder.path / "tubo.xml";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::vector<std::pair<std::filesystem::path, std::string>> cases = {
        {folder.path / "falta.xml", "No such file or directory"},
        {folder.path, "Is a directory"},
        {pipe, "no es un archivo normal"},  // and does not wait for a writer
    };
    for (const auto& [path, reason] : cases) {
        XmlDocument document;
        EXPECT_EQ(error_message([&] { document.load(path); }),
                  "No se puede leer el archivo " + path.string() + ": " + reason);
    }
}

} // namespace
} // namespace enlazor
