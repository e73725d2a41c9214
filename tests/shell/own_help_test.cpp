// Our help stands in for SAGA.chm only while none lies beside the program.
#include "shell/help/own_help.h"
#include "shell/help/sto_html_help.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace enlazor::help;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "ITSF";
}

class OwnHelpTest : public ::testing::Test {
protected:
    fs::path top = enlazor::test_support::make_temp_folder("enlazor-own-help");
    fs::path bin = top / "bin";
    fs::path saga = bin / "SAGA.chm";
    fs::path own = top / "share" / "enlazor" / "ayuda" / own_help_file_name;
    std::vector<std::string> files;

    void SetUp() override {
        fs::create_directories(bin);
        touch(own);
    }
    void TearDown() override { fs::remove_all(top); }
    HtmlHelpEntryPoint recorder() {
        return [this](std::uintptr_t, const std::string& file, unsigned, const HtmlHelpData&) { files.push_back(file); };
    }
};

TEST_F(OwnHelpTest, OnlyRequestsOnAMissingSagaChmGoToOurHelp) {
    struct Case {
        const char* what;
        std::string file;
        bool saga_there;
        std::string expected;
    };
    const std::string s = saga.string(), o = own.string();
    const Case cases[] = {
        {"context, no SAGA.chm", s, false, o},
        {"topic, no SAGA.chm", s + "::/intro.htm", false, o + "::/intro.htm"},
        {"context, SAGA.chm there", s, true, s},
        {"topic, SAGA.chm there", s + "::/intro.htm", true, s + "::/intro.htm"},
        {"another name that begins alike", s + "x", false, s + "x"},
        {"SAGA.chm of another folder", (top / "SAGA.chm").string(), false, (top / "SAGA.chm").string()},
        {"close all, no file", "", false, ""},
    };
    for (const Case& c : cases) {
        if (c.saga_there)
            touch(saga);
        else
            fs::remove(saga);
        files.clear();
        prefer_own_help_when_missing(recorder(), saga, own)(0, c.file, HH_HELP_CONTEXT, std::uintptr_t{1});
        ASSERT_EQ(files.size(), 1u) << c.what;
        EXPECT_EQ(files[0], c.expected) << c.what;
    }
}

TEST_F(OwnHelpTest, ASagaChmPutThereLaterWinsAtOnce) {
    const HtmlHelpEntryPoint help = prefer_own_help_when_missing(recorder(), saga, own);
    help(0, saga.string(), HH_DISPLAY_TOC, std::uintptr_t{0});
    touch(saga);
    help(0, saga.string(), HH_DISPLAY_TOC, std::uintptr_t{0});
    EXPECT_EQ(files, (std::vector<std::string>{own.string(), saga.string()}));
}

TEST_F(OwnHelpTest, OurHelpIsFoundBesideTheProgramFirstThenUnderShare) {
    EXPECT_EQ(find_own_help(bin), own.lexically_normal());
    touch(bin / own_help_file_name);
    EXPECT_EQ(find_own_help(bin), (bin / own_help_file_name).lexically_normal());
}

TEST_F(OwnHelpTest, WithoutAViewerHelpStaysSilent) {
    EXPECT_FALSE(with_own_help({}, bin, "SAGA.chm"));
    EXPECT_FALSE(prefer_own_help_when_missing({}, saga, own));
}

TEST_F(OwnHelpTest, TheMainWindowsF1AndButtonReachOurHelpThroughTheBridge) {
    const auto bridge = make_help_bridge(with_own_help(recorder(), bin, "SAGA.chm"), "SAGA.chm", bin);
    EXPECT_TRUE(bridge->system.ShowContextHelp(1, "SAGA.chm"));
    bridge->system.HelpCommand(HELP_CONTENTS, 0);
    EXPECT_EQ(files, (std::vector<std::string>{own.lexically_normal().string(), own.lexically_normal().string()}));
}

} // namespace
