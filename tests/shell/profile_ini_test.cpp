#include "shell/system/profile_ini.h"

#include <gtest/gtest.h>

using namespace enlazor;

namespace {

struct IniCase {
    const char* name;
    std::string before;
    std::string value;
    std::string after;
};

class CompletionFlagIni : public ::testing::TestWithParam<IniCase> {};

TEST_P(CompletionFlagIni, IsWrittenLikeThePrivateProfileService) {
    EXPECT_EQ(set_profile_value(GetParam().before, "Transformadores", "Transformado", GetParam().value),
              GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    HostedMode, CompletionFlagIni,
    ::testing::Values(
        IniCase{"NewFile", "", "1", "[Transformadores]\r\nTransformado=1\r\n"},
        IniCase{"ValueReplacedInPlace",
                "[Transformadores]\r\nTransformado=0\r\nOtro=5\r\n", "-1",
                "[Transformadores]\r\nTransformado=-1\r\nOtro=5\r\n"},
        IniCase{"SectionAndKeyIgnoreCaseAndKeepTheirSpelling",
                "[TRANSFORMADORES]\ntransformado = 0\n", "1",
                "[TRANSFORMADORES]\ntransformado =1\n"},
        IniCase{"MissingKeyGoesAtTheEndOfItsSection",
                "[Transformadores]\nOtro=5\n\n[Horalis]\nRuta=C:\\H\n", "1",
                "[Transformadores]\nOtro=5\nTransformado=1\n\n[Horalis]\nRuta=C:\\H\n"},
        IniCase{"MissingSectionGoesAtTheEndAndOtherLinesStayByteForByte",
                "; comentario\r\n[Horalis]\r\n  Ruta = C:\\HORALIS  \r\n", "0",
                "; comentario\r\n[Horalis]\r\n  Ruta = C:\\HORALIS  \r\n[Transformadores]\r\nTransformado=0\r\n"},
        IniCase{"UnterminatedLastLine", "[Horalis]\nRuta=x", "1",
                "[Horalis]\nRuta=x\n[Transformadores]\nTransformado=1\n"},
        IniCase{"KeyInAnotherSectionIsNotTouched",
                "[Otra]\nTransformado=7\n", "1",
                "[Otra]\nTransformado=7\n[Transformadores]\nTransformado=1\n"},
        IniCase{"OnlyTheFirstMatchingKeyChanges",
                "[Transformadores]\nTransformado=0\nTransformado=0\n", "1",
                "[Transformadores]\nTransformado=1\nTransformado=0\n"},
        IniCase{"ACommentedKeyIsNoKey",
                "[Transformadores]\n;Transformado=0\n", "1",
                "[Transformadores]\n;Transformado=0\nTransformado=1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompletionFlagIni, ReadsBackWhatWasWritten) {
    std::string ini = set_profile_value("[a]\nb=c\n", "Transformadores", "Transformado", "-1");
    EXPECT_EQ(read_profile_value(ini, "transformadores", "TRANSFORMADO"), "-1");
    EXPECT_EQ(read_profile_value(ini, "a", "b"), "c");
    EXPECT_EQ(read_profile_value(ini, "a", "x"), "");
}

} // namespace

#include "platform/places.h"
#include "shell/system/profile.h"
#include "base/error.h"
#include "support/files.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using enlazor::test_support::read_file;

// The system's own write: the private-profile service on Windows, our
// writer on Linux. Both must leave the same bytes.
class CompletionFlagFile : public ::testing::Test {
protected:
    enlazor::test_support::TempDir dir{"enlazor-ini"};
    std::filesystem::path ini = dir / "Horalis.ini";
};

TEST_F(CompletionFlagFile, IsCreatedThenUpdatedKeepingOtherSections) {
    platform::write_profile_int(ini, "Transformadores", "Transformado", -1);
    EXPECT_EQ(read_file(ini), "[Transformadores]\r\nTransformado=-1\r\n");

    std::ofstream(ini, std::ios::binary) << "[Horalis]\r\nCentro=IES\r\n[Transformadores]\r\nTransformado=-1\r\n";
    platform::write_profile_int(ini, "Transformadores", "Transformado", 1);
    EXPECT_EQ(read_file(ini), "[Horalis]\r\nCentro=IES\r\n[Transformadores]\r\nTransformado=1\r\n");
}

TEST_F(CompletionFlagFile, AFailedWriteSaysWhereAndLeavesTheFileAsItWas) {
    std::ofstream(ini, std::ios::binary) << "[Transformadores]\r\nTransformado=0\r\n";
    // No write permission left: read-only on Windows too.
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
    try {
        platform::write_profile_int(ini, "Transformadores", "Transformado", 1);
        FAIL() << "wrote a read-only file";
    } catch (const enlazor::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + enlazor::utf8_from_path(ini));
    }
    EXPECT_EQ(read_file(ini), "[Transformadores]\r\nTransformado=0\r\n");

    EXPECT_THROW(platform::write_profile_int(dir / "gone" / "Horalis.ini", "Transformadores", "Transformado", 1),
                 enlazor::Error);
}

TEST(CompletionFlagPath, IsBesideTheRunningExecutable) {
    auto path = completion_ini_path();
    EXPECT_EQ(path.filename(), "Horalis.ini");
    bool beside_this_program = false;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path()))
        beside_this_program |= entry.path().stem() == "enlazor_shell_tests";
    EXPECT_TRUE(beside_this_program);
}

} // namespace
