#include "shell/help/sto_html_help.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace enlazor::help;

namespace {

// The help file beside the executable, in the system's spelling of paths.
const std::string chm = (std::filesystem::path("/opt/enlazor") / "SAGA.chm").string();

struct Call {
    std::uintptr_t owner;
    std::string file;
    unsigned command;
    HtmlHelpData data;
};

class HelpBridgeTest : public ::testing::Test {
protected:
    std::vector<Call> calls;
    HtmlHelpEntryPoint recorder() {
        return [this](std::uintptr_t owner, const std::string& file, unsigned command, const HtmlHelpData& data) {
            calls.push_back({owner, file, command, data});
        };
    }
    std::unique_ptr<HelpBridge> bridge = make_help_bridge(recorder(), "SAGA.chm", "/opt/enlazor");
    TStoHtmlHelpViewer& viewer() { return *bridge->viewer; }
};

TEST_F(HelpBridgeTest, F1AsksForContextOneOfTheExecutableFoldersHelpFile) {
    EXPECT_TRUE(bridge->system.ShowContextHelp(1, "SAGA.chm"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, 0u);
    EXPECT_EQ(calls[0].file, chm);
    EXPECT_EQ(calls[0].command, HH_HELP_CONTEXT);
    EXPECT_EQ(std::get<std::uintptr_t>(calls[0].data), 1u);
}

TEST_F(HelpBridgeTest, TheHelpButtonOpensTheContentsThroughTheSelector) {
    bridge->system.HelpCommand(HELP_CONTENTS, 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, HH_DISPLAY_TOC);
    EXPECT_EQ(calls[0].file, chm);
}

TEST_F(HelpBridgeTest, AKeywordArrivesBareAndALongerStringLosesOnlyItsFirstPrefix) {
    EXPECT_TRUE(bridge->system.ShowHelp("horario"));
    viewer().ShowHelp("StoHtmlHelp: x: y: z");
    viewer().ShowHelp("  \tsolo ");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].command, HH_DISPLAY_INDEX);
    EXPECT_EQ(std::get<std::string>(calls[0].data), "horario");
    EXPECT_EQ(std::get<std::string>(calls[1].data), "x: y: z");
    EXPECT_EQ(std::get<std::string>(calls[2].data), "solo");
}

TEST_F(HelpBridgeTest, TopicsGetTheDefaultExtensionUnlessTheyHaveAnHtmlOne) {
    viewer().DisplayTopic("intro");
    viewer().DisplayTopic("cap1.HTML");
    viewer().DisplayTopic("a.htm");
    viewer().DisplayTopic("v1.2\\intro");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].command, HH_DISPLAY_TOPIC);
    EXPECT_EQ(calls[0].file, chm + "::/intro.htm");
    EXPECT_EQ(calls[1].file, chm + "::/cap1.HTML");
    EXPECT_EQ(calls[2].file, chm + "::/a.htm");
    EXPECT_EQ(calls[3].file, chm + "::/v1.2\\intro.htm");
}

TEST_F(HelpBridgeTest, ShutdownClosesEveryHelpWindowAndLeavesTheSystem) {
    bridge->system.ShutDown();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, HH_CLOSE_ALL);
    EXPECT_EQ(calls[0].file, "");
    calls.clear();
    EXPECT_FALSE(bridge->system.ShowContextHelp(1, "SAGA.chm"));  // nobody left to answer
    EXPECT_TRUE(calls.empty());
}

TEST_F(HelpBridgeTest, AnswersOfTheViewerAndTheSelector) {
    EXPECT_EQ(viewer().GetViewerName(), "StoHtmlHelp");
    EXPECT_EQ(viewer().GetHelpStrings("K"), std::vector<std::string>{"StoHtmlHelp: K"});
    EXPECT_TRUE(viewer().UnderstandsContext(1, "ayuda.CHM"));
    EXPECT_FALSE(viewer().UnderstandsContext(1, "ayuda.hlp"));
    EXPECT_FALSE(viewer().UnderstandsContext(1, "carpeta.v2/ayuda"));

    EXPECT_EQ(viewer().SelectKeyword({"StoHtmlHelp: a", "WinHelp: a"}), 0);
    EXPECT_EQ(viewer().SelectKeyword({": a", "b"}), 0);
    EXPECT_EQ(viewer().SelectKeyword({": a", "StoHtmlHelp: a"}), 1);
    EXPECT_EQ(viewer().SelectKeyword({"stohtmlhelp: a", "StoHtmlHelp"}), 1);  // exact, with case
    EXPECT_EQ(viewer().TableOfContents({"WinHelp", "stohtmlhelp"}), 1);
    EXPECT_EQ(viewer().TableOfContents({"WinHelp"}), -1);
}

TEST_F(HelpBridgeTest, TheWinHelpTesterDeclinesEverything) {
    TStoWinHelpTester tester;
    EXPECT_FALSE(tester.CanShowALink("x", "SAGA.chm"));
    EXPECT_FALSE(tester.CanShowTopic("x", "SAGA.chm"));
    EXPECT_FALSE(tester.CanShowContext(1, "SAGA.hlp"));
    EXPECT_EQ(tester.GetHelpStrings("enlace"), std::vector<std::string>{": enlace"});
    EXPECT_EQ(tester.GetHelpPath(), "");
    EXPECT_EQ(tester.GetDefaultHelpFile(), "");
}

TEST(HelpBridgeWithoutViewer, DoesNothingVisibleButStillAcceptsTheRequest) {
    auto bridge = make_help_bridge({}, "SAGA.chm", "/opt/enlazor");
    EXPECT_TRUE(bridge->system.ShowContextHelp(1, "SAGA.chm"));
    bridge->system.HelpCommand(HELP_CONTENTS, 0);
    bridge->system.ShutDown();
}

TEST(HtmlHelpLoading, WithoutTheLibraryOrViewerThereIsNoEntryPoint) {
    EXPECT_FALSE(load_html_help("/nonexistent/xchm"));
}

} // namespace
