#include "cli/command_line.h"

#include <gtest/gtest.h>

using namespace enlazor::cli;

namespace {

Invocation parse(std::vector<std::string> args) { return parse_command_line(args); }

struct Rejected {
    std::vector<std::string> args;
    std::string why;
};

class CommandLineRejects : public ::testing::TestWithParam<Rejected> {};

TEST_P(CommandLineRejects, WithAUsageError) {
    try {
        parse(GetParam().args);
        FAIL() << "accepted";
    } catch (const UsageError& e) {
        EXPECT_NE(e.message.find(GetParam().why), std::string::npos) << e.message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, CommandLineRejects,
    ::testing::Values(Rejected{{}, "falta la orden"},
                      Rejected{{"exportar", "a.xml"}, "orden desconocida"},
                      Rejected{{"EXPORT", "a.xml"}, "orden desconocida"},
                      Rejected{{"export"}, "falta el documento"},
                      Rejected{{"export", "a.xml", "b.xml"}, "sobran argumentos"},
                      Rejected{{"export", ""}, "vacío"},
                      Rejected{{"export", "a.xml", "--exchange-dir"}, "falta el directorio"},
                      Rejected{{"export", "a.xml", "--exchange-dir="}, "vacío"},
                      Rejected{{"import", "a.xml", "--force"}, "opción desconocida"}));

} // namespace

TEST(CommandLine, ReadsTheDirectionTheDocumentAndTheExchangeDirectory) {
    Invocation a = parse({"export", "saga.xml"});
    EXPECT_EQ(a.command, Command::Export);
    EXPECT_EQ(a.saga_path, "saga.xml");
    EXPECT_FALSE(a.exchange_dir.has_value());

    Invocation b = parse({"import", "--exchange-dir", "/tmp/h", "saga.xml"});
    EXPECT_EQ(b.command, Command::Import);
    EXPECT_EQ(b.saga_path, "saga.xml");
    ASSERT_TRUE(b.exchange_dir.has_value());
    EXPECT_EQ(*b.exchange_dir, "/tmp/h");

    Invocation c = parse({"import", "saga.xml", "--exchange-dir=/x y"});
    EXPECT_EQ(*c.exchange_dir, "/x y");
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(parse({"--help"}).command, Command::Help);
    EXPECT_EQ(parse({"export", "a.xml", "-h"}).command, Command::Help);
    EXPECT_EQ(parse({"--version", "nonsense"}).command, Command::Version);
}

TEST(CommandLine, HelpDocumentsEveryExitCode) {
    const std::string help = help_text();
    for (const char* code : {"  0  ", "  1  ", "  2  ", "  3  "})
        EXPECT_NE(help.find(code), std::string::npos) << code;
    EXPECT_NE(help.find("No existe archivo"), std::string::npos);
}
