// HTML Help on Windows: the system's HHCtrl.ocx gives the entry point.
#include "shell/system/html_help.h"

#include <gtest/gtest.h>

using namespace enlazor::help;

namespace {

TEST(HtmlHelpOnWindows, TheSystemLibraryGivesHtmlHelpA) {
    EXPECT_TRUE(load_html_help());
    EXPECT_FALSE(load_html_help("kernel32.dll"));  // a library without the entry point
}

} // namespace
