// Runs the real enlazor-cli binary: output, exit codes and what it leaves on disk.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exit_code;
    std::string out;
    std::string err;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

class CliRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("enlazor-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "HTEMP");
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome run(const std::string& args) {
        const std::string cli = std::string(ENLAZOR_BINARY_DIR) + "/bin/enlazor-cli";
        const std::string cmd = "LC_ALL=C " + quote(cli) + " " + args + " >" +
                                quote((dir_ / "out").string()) + " 2>" + quote((dir_ / "err").string());
        int status = std::system(cmd.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir_ / "out"), slurp(dir_ / "err")};
    }

    fs::path write(const std::string& name, const std::string& content) {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }

    std::string exchange_arg() const { return "--exchange-dir " + quote((dir_ / "HTEMP").string()); }

    fs::path dir_;
};

const char* kSmallSchool = R"(<?xml version="1.0" encoding="UTF-8"?>
<document>
  <subjects>
    <subject id="SB-A101" name="Lengua castellana" hours="4"/>
  </subjects>
  <teachers>
    <teacher id="PR-01">Alfa Beta Gamma</teacher>
  </teachers>
  <locations>
    <location id="LC-1">Aula 12</location>
  </locations>
  <groups>
    <group id="GR-1" name="1 ESO A" regim="ORD-M">Primero A<assigned-subjects>
        <assigned-subject id="SB-A101"><assigned-teachers><assigned-teacher id="PR-01"/></assigned-teachers></assigned-subject>
      </assigned-subjects>
    </group>
  </groups>
</document>
)";

} // namespace

TEST_F(CliRun, ExportFinishesWithTheMessageAndASummary) {
    fs::path saga = write("saga.xml", kSmallSchool);
    Outcome o = run("export " + quote(saga.string()) + " " + exchange_arg());
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(o.out.rfind("Proceso finalizado\n", 0), 0u) << o.out;
    EXPECT_NE(o.out.find("ASIGT: 1 registros"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find((dir_ / "HTEMP").string()), std::string::npos) << o.out;
    for (const char* table : {"ASIGNOMT.DBF", "PROFT.DBF", "AULAT.DBF", "GRUPOST.DBF", "ASIGT.DBF", "DIASHORAST.DBF"})
        EXPECT_TRUE(fs::exists(dir_ / "HTEMP" / table)) << table;
}

TEST_F(CliRun, AMissingDocumentIsReportedWithItsOwnExitCode) {
    Outcome o = run("export " + quote((dir_ / "nada.xml").string()) + " " + exchange_arg());
    EXPECT_EQ(o.exit_code, 3);
    EXPECT_EQ(o.err.rfind("No existe archivo\n", 0), 0u) << o.err;
    EXPECT_TRUE(o.out.empty());
    EXPECT_TRUE(fs::is_empty(dir_ / "HTEMP"));

    // A folder is no document either.
    EXPECT_EQ(run("import " + quote(dir_.string()) + " " + exchange_arg()).exit_code, 3);
}

TEST_F(CliRun, ADocumentThatIsNotXmlStopsBeforeAnyTableIsTouched) {
    fs::path saga = write("roto.xml", "<document><subjects></document>");
    Outcome o = run("export " + quote(saga.string()) + " " + exchange_arg());
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_FALSE(o.err.empty());
    EXPECT_EQ(o.out.find("Proceso finalizado"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir_ / "HTEMP"));
}

TEST_F(CliRun, AnImportWithoutHoralisTablesFailsAndLeavesTheDocumentAlone) {
    fs::path saga = write("saga.xml", kSmallSchool);
    Outcome o = run("import " + quote(saga.string()) + " " + exchange_arg());
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_FALSE(o.err.empty());
    EXPECT_EQ(slurp(saga), kSmallSchool);
}

TEST_F(CliRun, UsageErrorsHelpAndVersion) {
    Outcome bad = run("exportar x.xml");
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_NE(bad.err.find("--help"), std::string::npos);

    Outcome help = run("--help");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("Uso: enlazor-cli export"), std::string::npos);

    Outcome version = run("--version");
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out.rfind("enlazor-cli ", 0), 0u);
}
