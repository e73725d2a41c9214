// A report saved from a window must be the file `enlazor-cli check > file`
// makes: printed_text has to give the bytes the C library's text-mode
// output really writes on this system, line ends included.
#include "platform/console.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string written_in_text_mode(const std::filesystem::path& file, const std::string& text) {
    std::FILE* out = std::fopen(file.string().c_str(), "w");  // text mode, as standard output
    if (!out)
        return "(no file)";
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(PrintedText, IsWhatTextModeOutputWritesToAFile) {
    const std::filesystem::path folder = enlazor::test_support::make_temp_folder("printed-text");
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
    std::filesystem::remove_all(folder);
}

} // namespace
