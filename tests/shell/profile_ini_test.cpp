#include "app/hosted/profile_ini.h"

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

#include "storage/error.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class CompletionFlagFile : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("enlazor-ini-" + std::to_string(::getpid()));
    std::filesystem::path ini = dir / "Horalis.ini";
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir);
    }
};

TEST_F(CompletionFlagFile, IsCreatedThenUpdatedKeepingOtherSections) {
    write_profile_int(ini, "Transformadores", "Transformado", -1);
    EXPECT_EQ(slurp(ini), "[Transformadores]\r\nTransformado=-1\r\n");

    std::ofstream(ini, std::ios::binary) << "[Horalis]\r\nCentro=IES\r\n[Transformadores]\r\nTransformado=-1\r\n";
    write_profile_int(ini, "Transformadores", "Transformado", 1);
    EXPECT_EQ(slurp(ini), "[Horalis]\r\nCentro=IES\r\n[Transformadores]\r\nTransformado=1\r\n");
}

TEST_F(CompletionFlagFile, AFailedWriteSaysWhereAndLeavesTheFileAsItWas) {
    std::ofstream(ini, std::ios::binary) << "[Transformadores]\nTransformado=0\n";
    ::chmod(ini.c_str(), 0444);
    try {
        write_profile_int(ini, "Transformadores", "Transformado", 1);
        FAIL() << "wrote a read-only file";
    } catch (const enlazor::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + ini.string());
    }
    EXPECT_EQ(slurp(ini), "[Transformadores]\nTransformado=0\n");

    EXPECT_THROW(write_profile_int(dir / "gone" / "Horalis.ini", "Transformadores", "Transformado", 1),
                 enlazor::Error);
}

TEST(CompletionFlagPath, IsBesideTheRunningExecutable) {
    auto path = completion_ini_path();
    EXPECT_EQ(path.filename(), "Horalis.ini");
    EXPECT_TRUE(std::filesystem::exists(path.parent_path() / "enlazor_shell_tests"));
}

} // namespace
