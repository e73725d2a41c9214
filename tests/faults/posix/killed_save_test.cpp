// An import killed at any moment (power cut, task manager, Horalis closing
// its window) leaves the SAGA document either exactly as it was or exactly
// as the import makes it: never a mixture, never a cut-off file. What the
// killed saves leave beside it goes with the next run on the document, and
// only that: never a save in progress, never another document's file.
#include "fault_support.h"

#include "platform/leftover_saves.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

namespace faults {
namespace {

constexpr int kKills = 40;

TEST(KilledImport, TheDocumentIsAlwaysTheOldOneOrTheNewOneWhole) {
    TempDir dir;
    const fs::path exchange = dir / "HTEMP";
    fs::create_directories(exchange);
    fs::create_directories(dir / "centro");
    fs::create_directories(dir / "referencia");
    const fs::path saga = dir / "centro" / "saga.xml";
    SchoolSize size;
    size.padding_bytes = 4u << 20;  // a save that takes a while
    write_school_document(saga, size);
    std::string failure;
    ASSERT_TRUE(prepare_round_trip(saga, exchange, failure)) << failure;
    const std::string old_document = read_file(saga);

    // The new document, from an import that nobody interrupts.
    const fs::path reference = dir / "referencia" / "saga.xml";
    write_file(reference, old_document);
    const auto started = std::chrono::steady_clock::now();
    const Outcome uninterrupted = run_cli("import", reference, exchange);
    const auto whole_run = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(uninterrupted.exit_code, 0) << uninterrupted.describe();
    const std::string new_document = read_file(reference);
    ASSERT_NE(new_document, old_document);

    // Half the kills fall anywhere in the run; the other half once the save
    // has begun, a random moment after its temporary file appears.
    std::mt19937 random(20240607);
    const auto whole_us = std::chrono::duration_cast<std::chrono::microseconds>(whole_run).count();
    std::uniform_int_distribution<long> anywhere(0, whole_us + whole_us / 10);
    std::uniform_int_distribution<long> into_save(0, 20000);
    int kept_old = 0, became_new = 0, killed_while_saving = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        write_file(saga, old_document);
        const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, (dir / "centro").c_str(), IN_CREATE), 0);

        Running import(cli_command("import", saga, exchange));
        bool saving = false;
        if (kill % 2 == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(anywhere(random)));
        } else {
            saving = wait_for_event(
                watch, [](const std::string& name) { return name.starts_with(".saga.xml."); }, import);
            std::this_thread::sleep_for(std::chrono::microseconds(into_save(random)));
        }
        const bool still_running = !import.ended();
        import.signal(SIGKILL);
        const Outcome outcome = import.wait();
        ::close(watch);
        killed_while_saving += saving && still_running && !outcome.exited ? 1 : 0;

        const std::string now = read_file(saga);
        if (now == old_document) {
            ++kept_old;
            EXPECT_FALSE(outcome.reported_done()) << "kill " << kill << ": reported done, document unchanged";
        } else if (now == new_document) {
            ++became_new;
        } else {
            ADD_FAILURE() << "kill " << kill << ": the document is neither the old one nor the new one ("
                          << now.size() << " bytes; old " << old_document.size() << ", new "
                          << new_document.size() << ")";
        }
    }
    RecordProperty("kills", kKills);
    RecordProperty("kept_old", kept_old);
    RecordProperty("became_new", became_new);
    RecordProperty("killed_while_saving", killed_while_saving);
    EXPECT_GT(killed_while_saving, 0) << "no kill landed inside a save: the test proved nothing";

    // A later import, despite whatever the kills left behind, completes,
    // and removes it: the document is all that stays in its folder.
    const std::vector<std::string> after_kills = entries(dir / "centro");
    RecordProperty("left_beside_after_kills", static_cast<int>(after_kills.size()) - 1);
    write_file(saga, old_document);
    const Outcome later = run_cli("import", saga, exchange);
    EXPECT_EQ(later.exit_code, 0) << later.describe();
    EXPECT_EQ(read_file(saga), new_document);
    EXPECT_EQ(entries(dir / "centro"), std::vector<std::string>{"saga.xml"})
        << "the kills had left " << after_kills.size() - 1 << " files beside the document";
}

// A school prepared for an import whose save takes a while.
struct SavingSchool {
    TempDir dir;
    fs::path exchange = dir / "HTEMP";
    fs::path saga = dir / "centro" / "saga.xml";
    std::string old_document, new_document;

    explicit SavingSchool(std::size_t padding_bytes) {
        fs::create_directories(exchange);
        fs::create_directories(saga.parent_path());
        SchoolSize size;
        size.padding_bytes = padding_bytes;
        write_school_document(saga, size);
        std::string failure;
        if (!prepare_round_trip(saga, exchange, failure))
            throw std::runtime_error(failure);
        old_document = read_file(saga);
        const fs::path reference = dir / "referencia.xml";
        write_file(reference, old_document);
        const Outcome done = run_cli("import", reference, exchange);
        if (done.exit_code != 0)
            throw std::runtime_error(done.describe());
        new_document = read_file(reference);
        fs::remove(reference);
    }
};

TEST(LeftoverSaves, ASaveInProgressIsNeverTakenForALeftover) {
    SavingSchool school(32u << 20);  // a save long enough for many sweeps
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, school.saga.parent_path().c_str(), IN_CREATE), 0);
    Running import(cli_command("import", school.saga, school.exchange));
    const bool saving = wait_for_event(
        watch, [](const std::string& name) { return name.starts_with(".saga.xml.enlazor-"); }, import);
    ::close(watch);
    // Another run's removal, over and over for as long as the save lasts:
    // the save's file is always held, so it is never seen as a leftover.
    const auto save_file_present = [&] {
        for (const std::string& name : entries(school.saga.parent_path()))
            if (name.starts_with(".saga.xml.enlazor-"))
                return true;
        return false;
    };
    int sweeps = 0;
    std::size_t removed = 0, listed = 0;
    while (!import.ended()) {
        const bool present = save_file_present();
        removed += enlazor::remove_leftover_saves(school.saga).removed.size();
        listed += enlazor::leftover_saves(school.saga).size();
        sweeps += present && save_file_present() ? 1 : 0;  // swept while the save was going on
    }
    const Outcome outcome = import.wait();
    EXPECT_TRUE(saving) << "the import ended before its save began: " << outcome.describe();
    EXPECT_GT(sweeps, 0);
    EXPECT_EQ(removed, 0u);
    EXPECT_EQ(listed, 0u);
    EXPECT_EQ(outcome.exit_code, 0) << outcome.describe();
    EXPECT_TRUE(read_file(school.saga) == school.new_document) << "the document is not the imported one";
}

// What sits beside the document before a run, and whether the run removes it.
enum class Made { File, HeldFile, Directory, LinkToFile, Pipe };
struct Beside {
    const char* name;
    Made made;
    bool removed;
};

TEST(LeftoverSaves, EachDirectionRemovesOnlyItsDocumentsLeftoversThatNobodyHolds) {
    const Beside cases[] = {
        {".saga.xml.enlazor-a1B2c3", Made::File, true},
        {".saga.xml.enlazor-000000", Made::File, true},
        {".saga.xml.enlazor-Zz9Yy8", Made::HeldFile, false},  // a save in progress
        {".otro.xml.enlazor-a1B2c3", Made::File, false},      // another document's
        {".saga.xml.enlazor-a1B2c", Made::File, false},       // one character short
        {".saga.xml.enlazor-a1B2c34", Made::File, false},     // one too many
        {".saga.xml.enlazor-a1B2c!", Made::File, false},
        {".saga.xml.enlazor-a1B2c3.bak", Made::File, false},
        {"saga.xml.enlazor-a1B2c3", Made::File, false},        // no leading dot
        {".saga.xml.a1B2c3", Made::File, false},               // not recognisably ours
        {".SAGA.XML.enlazor-a1B2c3", Made::File, false},       // names differ in case here
        {".saga.xml.enlazor-d1r2c3", Made::Directory, false},
        {".saga.xml.enlazor-l1nk23", Made::LinkToFile, false},
        {".saga.xml.enlazor-f1f0c3", Made::Pipe, false},
    };
    for (const char* direction : {"export", "import"}) {
        SCOPED_TRACE(direction);
        TempDir dir;
        const fs::path exchange = dir / "HTEMP", folder = dir / "centro", saga = folder / "saga.xml";
        fs::create_directories(exchange);
        fs::create_directories(folder);
        write_file(saga, school_document(SchoolSize{}));
        std::string failure;
        ASSERT_TRUE(prepare_round_trip(saga, exchange, failure)) << failure;
        write_file(dir / "target", "not ours");

        std::vector<int> held;
        for (const Beside& c : cases) {
            const fs::path path = folder / c.name;
            switch (c.made) {
            case Made::File: write_file(path, "half a save"); break;
            case Made::HeldFile: {
                write_file(path, "a save going on");
                const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
                ASSERT_GE(fd, 0);
                ASSERT_EQ(::flock(fd, LOCK_EX), 0);
                held.push_back(fd);
                break;
            }
            case Made::Directory: fs::create_directory(path); break;
            case Made::LinkToFile: fs::create_symlink(dir / "target", path); break;
            case Made::Pipe: ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); break;
            }
        }
        const Outcome outcome = run_cli(direction, saga, exchange);
        EXPECT_EQ(outcome.exit_code, 0) << outcome.describe();
        EXPECT_EQ(outcome.err, "") << "nothing it kept deserves a warning";
        for (const Beside& c : cases)
            EXPECT_EQ(!fs::exists(fs::symlink_status(folder / c.name)), c.removed) << c.name;
        EXPECT_EQ(read_file(dir / "target"), "not ours");

        // Let go, the held one is a leftover like any other.
        for (const int fd : held)
            ::close(fd);
        const Outcome again = run_cli(direction, saga, exchange);
        EXPECT_EQ(again.exit_code, 0) << again.describe();
        for (const Beside& c : cases)
            EXPECT_EQ(!fs::exists(fs::symlink_status(folder / c.name)), c.removed || c.made == Made::HeldFile)
                << c.name;
    }
}

TEST(LeftoverSaves, WhatCannotBeRemovedIsToldAndTheRunGoesOn) {
    TempDir dir;
    const fs::path exchange = dir / "HTEMP", contents = dir / "centro", disk = dir / "disco";
    fs::create_directories(exchange);
    fs::create_directories(contents);
    fs::create_directories(disk);
    write_file(contents / "saga.xml", school_document(SchoolSize{}));
    write_file(contents / ".saga.xml.enlazor-a1B2c3", "half a save");
    // The document's folder on a read-only disk: the export only reads the
    // document, so it succeeds, but the leftover cannot go.
    const std::optional<Outcome> outcome = run_on_own_disk(cli_command("export", disk / "saga.xml", exchange),
                                                           disk, 8u << 20, true, contents, dir.path());
    if (!outcome)
        GTEST_SKIP() << "this machine does not let a test mount a read-only disk";
    EXPECT_EQ(outcome->exit_code, 0) << outcome->describe();
    EXPECT_TRUE(outcome->reported_done()) << outcome->describe();
    EXPECT_NE(outcome->err.find("Aviso: no se pudo eliminar el archivo temporal de un guardado interrumpido " +
                                (disk / ".saga.xml.enlazor-a1B2c3").string() + ": Read-only file system"),
              std::string::npos)
        << outcome->err;
    EXPECT_TRUE(fs::exists(contents / ".saga.xml.enlazor-a1B2c3"));
}

} // namespace
} // namespace faults
