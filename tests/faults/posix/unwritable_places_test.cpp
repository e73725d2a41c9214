// Places the program cannot write: a read-only document, a document whose
// folder vanished during the import, an exchange directory that is missing,
// is a file, or sits on a read-only disk. Each gives a clear error and
// nothing half-written is reported as done.
//
// The tests run as root, which ignores permission bits: "not writable" is
// made real with a read-only mount where the machine allows one, and a
// document without any write bit, which the save refuses even for root.
#include "fault_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace faults {
namespace {

using ::testing::HasSubstr;

class UnwritablePlaces : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "centro");
        saga_ = dir_ / "centro" / "saga.xml";
        exchange_ = dir_ / "HTEMP";
        fs::create_directory(exchange_);
        write_school_document(saga_, SchoolSize{});
        std::string failure;
        ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;
        document_ = read_file(saga_);
        tables_ = snapshot(exchange_);
    }

    void expect_failed(const Outcome& outcome, const std::string& message, const std::string& what) {
        EXPECT_TRUE(outcome.exited) << what << ": " << outcome.describe();
        EXPECT_EQ(outcome.exit_code, 1) << what << ": " << outcome.describe();
        EXPECT_FALSE(outcome.reported_done()) << what;
        EXPECT_THAT(outcome.err, HasSubstr(message)) << what;
    }

    TempDir dir_;
    fs::path saga_, exchange_;
    std::string document_;
    std::vector<std::pair<std::string, std::string>> tables_;
};

TEST_F(UnwritablePlaces, AReadOnlyDocumentIsNeitherReplacedNorReportedDone) {
    fs::permissions(saga_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    expect_failed(run_cli("import", saga_, exchange_), "No se puede guardar el documento " + saga_.string(),
                  "read-only document");
    EXPECT_EQ(read_file(saga_), document_);
    EXPECT_EQ(fs::status(saga_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(entries(dir_ / "centro"), std::vector<std::string>{"saga.xml"});
}

TEST_F(UnwritablePlaces, ADocumentOnAReadOnlyDiskIsNeitherReplacedNorReportedDone) {
    const fs::path disk = dir_ / "disco";
    fs::create_directory(disk);
    const std::optional<Outcome> outcome = run_on_own_disk(cli_command("import", disk / "saga.xml", exchange_),
                                                           disk, 8u << 20, true, dir_ / "centro", dir_.path());
    if (!outcome)
        GTEST_SKIP() << "this machine does not let a test mount a read-only disk";
    expect_failed(*outcome, "Read-only file system", "read-only disk");
    EXPECT_EQ(read_file(saga_), document_);
}

TEST_F(UnwritablePlaces, ADocumentWhoseFolderVanishedDuringTheImportIsNotRecreated) {
    SchoolSize size;
    size.padding_bytes = 4u << 20;  // parsing it outlasts the folder's removal by far
    const std::string big_document = school_document(size);

    // The folder goes (moved away, so the test can still look at the
    // document) once the import has read the document and before it saves.
    // The import is stopped the moment it closes the document; should a busy
    // machine let it reach its save first, that run proves nothing: again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        fs::remove_all(dir_ / "movido");
        fs::create_directories(dir_ / "centro");
        write_file(saga_, big_document);
        const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, (dir_ / "centro").c_str(), IN_CLOSE_NOWRITE), 0);
        Running import(cli_command("import", saga_, exchange_));
        const bool read = wait_for_event(watch, [](const std::string& name) { return name == "saga.xml"; }, import);
        import.signal(SIGSTOP);
        fs::rename(dir_ / "centro", dir_ / "movido");
        import.signal(SIGCONT);
        const Outcome outcome = import.wait();
        ::close(watch);
        ASSERT_TRUE(read) << "the import ended before reading the document: " << outcome.describe();
        if (outcome.exit_code == 0)
            continue;

        expect_failed(outcome, "No se puede guardar el documento " + saga_.string(), "vanished folder");
        EXPECT_FALSE(fs::exists(dir_ / "centro")) << "the folder must not come back";
        EXPECT_EQ(read_file(dir_ / "movido" / "saga.xml"), big_document);
        EXPECT_EQ(entries(dir_ / "movido"), std::vector<std::string>{"saga.xml"});
        return;
    }
    FAIL() << "the import always saved before its folder could vanish";
}

TEST_F(UnwritablePlaces, AMissingExchangeDirectoryIsNamedAndNotCreatedByEitherDirection) {
    const fs::path missing = dir_ / "NOHAY";
    for (const char* direction : {"export", "import"}) {
        const Outcome outcome = run_cli(direction, saga_, missing);
        expect_failed(outcome, "No existe el directorio de intercambio " + missing.string(), direction);
        EXPECT_FALSE(fs::exists(missing)) << direction;
        EXPECT_EQ(read_file(saga_), document_) << direction;
    }
}

TEST_F(UnwritablePlaces, AFileWhereTheExchangeDirectoryShouldBeIsNamedAndLeftAlone) {
    const fs::path file = dir_ / "HTEMP.txt";
    write_file(file, "tablas");
    for (const char* direction : {"export", "import"}) {
        const Outcome outcome = run_cli(direction, saga_, file);
        expect_failed(outcome, "El directorio de intercambio " + file.string() + " no es un directorio", direction);
        EXPECT_EQ(read_file(file), "tablas") << direction;
        EXPECT_EQ(read_file(saga_), document_) << direction;
    }
}

TEST_F(UnwritablePlaces, AnExchangeDirectoryOnAReadOnlyDiskStopsTheExportButNotTheImport) {
    const fs::path disk = dir_ / "disco";
    fs::create_directory(disk);
    std::optional<Outcome> exported =
        run_on_own_disk(cli_command("export", saga_, disk), disk, 8u << 20, true, exchange_, dir_.path());
    if (!exported)
        GTEST_SKIP() << "this machine does not let a test mount a read-only disk";
    expect_failed(*exported, "Cannot create table.", "export");
    EXPECT_THAT(exported->err, HasSubstr("Read-only file system"));
    EXPECT_EQ(snapshot(exchange_), tables_) << "every table as it was";

    // The import only reads the tables: a read-only exchange directory is enough.
    std::optional<Outcome> imported =
        run_on_own_disk(cli_command("import", saga_, disk), disk, 8u << 20, true, exchange_, dir_.path());
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->exit_code, 0) << imported->describe();
    EXPECT_NE(read_file(saga_), document_);
    EXPECT_EQ(snapshot(exchange_), tables_);
}

} // namespace
} // namespace faults
