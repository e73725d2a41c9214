// HTML Help on Linux: each request reaches the CHM viewer as arguments.
#include "shell/system/posix/chm_viewer.h"

#include <gtest/gtest.h>

using namespace enlazor::help;

namespace {

TEST(HtmlHelpOnLinux, TheChmViewerGetsTheContextOrTheFile) {
    EXPECT_EQ(viewer_arguments("/a/SAGA.chm", HH_HELP_CONTEXT, std::uintptr_t{1}),
              (std::vector<std::string>{"--contextid=1", "/a/SAGA.chm"}));
    EXPECT_EQ(viewer_arguments("/a/SAGA.chm", HH_DISPLAY_TOC, std::uintptr_t{0}),
              std::vector<std::string>{"/a/SAGA.chm"});
    EXPECT_TRUE(viewer_arguments("", HH_CLOSE_ALL, std::uintptr_t{0}).empty());
}

} // namespace
