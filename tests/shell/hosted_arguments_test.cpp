#include "shell/hosted/hosted_arguments.h"
#include "base/error.h"

#include <gtest/gtest.h>

using namespace enlazor;

namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> args;
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, FollowsTheWindowsRule) {
    EXPECT_EQ(split_command_line(GetParam().line), GetParam().args);
}

INSTANTIATE_TEST_SUITE_P(
    HostedMode, CommandLineSplit,
    ::testing::Values(
        SplitCase{"", {}},
        SplitCase{"   \t ", {}},
        SplitCase{"EXPORTAR 1A2B", {"EXPORTAR", "1A2B"}},
        SplitCase{"exportar\t\r\n1a2b", {"exportar", "1a2b"}},
        SplitCase{"\"  exportar\" 1A", {"  exportar", "1A"}},
        SplitCase{"\"\" exportar 1A", {"exportar", "1A"}},           // an empty pair is no argument
        SplitCase{"ex\"por tar\" 1A", {"expor tar", "1A"}},          // quotes group mid-word and vanish
        SplitCase{"\"unclosed quote 1A", {"unclosed quote 1A"}},
        SplitCase{"a\x01" "b", {"a", "b"}}));                       // control characters separate

TEST(HostedArguments, EachArgvElementStaysOneArgumentAndEmptyOnesVanish) {
    const char* argv[] = {"/opt/enlazor/enlazor", " exportar", "", "1A2B"};
    EXPECT_EQ(hosted_arguments(4, argv), (std::vector<std::string>{" exportar", "1A2B"}));
    const char* quoted[] = {"enlazor", "exp\"or tar\"", "\"\"", "1A\" \"2B"};
    EXPECT_EQ(hosted_arguments(4, quoted), (std::vector<std::string>{"expor tar", "1A 2B"}));
    const char* only_program[] = {"enlazor"};
    EXPECT_TRUE(hosted_arguments(1, only_program).empty());
}

TEST(HostedArguments, TwoArgumentsSelectHostedMode) {
    EXPECT_FALSE(is_hosted({"exportar"}));
    EXPECT_TRUE(is_hosted({"exportar", "1A2B"}));
    EXPECT_FALSE(is_hosted({"exportar", "1A2B", "x"}));
}

TEST(HostedArguments, TheDirectionWordIgnoresAsciiCaseOnly) {
    EXPECT_EQ(direction_of("Exportar"), Direction::Export);
    EXPECT_EQ(direction_of("IMPORTAR"), Direction::Import);
    EXPECT_EQ(direction_of(" exportar"), std::nullopt);
    EXPECT_EQ(direction_of("exportar "), std::nullopt);
    EXPECT_EQ(direction_of("\xC9XPORTAR"), std::nullopt);  // ÉXPORTAR: É is no ASCII letter
    EXPECT_EQ(direction_of(""), std::nullopt);
}

TEST(HostedArguments, TheHostWindowIsReadAsHexadecimalDigitsAlone) {
    EXPECT_EQ(host_window_id("1A2B"), 6699u);
    EXPECT_EQ(host_window_id("00ff"), 255u);
    EXPECT_EQ(host_window_id("0"), 0u);
    EXPECT_EQ(host_window_id("FFFFFFFF"), 0xFFFFFFFFu);
    for (const char* bad : {"0x1A2B", " 1A", "1A ", "-1", "G1", "", "123456789"}) {
        try {
            host_window_id(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "'$" + std::string(bad) + "' no es un valor entero válido");
        }
    }
}

} // namespace
