// A report saved from a window must be the file `enlazor-cli check > file`
// makes: printed_text has to give the bytes the C library's text-mode
// output really writes on this system, line ends included.
#include "platform/console.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

std::string written_in_text_mode(const std::filesystem::path& file, const std::string& text) {
    std::FILE* out = std::fopen(file.string().c_str(), "w");  // text mode, as standard output
    if (!out)
        return "(no file)";
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return enlazor::test_support::read_file(file);
}

TEST(PrintedText, IsWhatTextModeOutputWritesToAFile) {
    const enlazor::test_support::TempDir folder("printed-text");
    const std::string texts[] = {
        "",
        "sin fin de línea",
        "Resumen: 1 error, 0 avisos\n",
        "\n\nlíneas vacías\n\n",
        "ya con CR\r\nse dobla como en la salida\r\n",
        "{\"errors\": 1}\n",
    };
    for (const std::string& text : texts)
        EXPECT_EQ(enlazor::platform::printed_text(text), written_in_text_mode(folder / "salida.txt", text))
            << text;
}

} // namespace
