// An import killed at any moment (power cut, task manager, Horalis closing
// its window) leaves the SAGA document either exactly as it was or exactly
// as the import makes it: never a mixture, never a cut-off file.
#include "fault_support.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

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

    // A later import, despite whatever the kills left behind, completes.
    write_file(saga, old_document);
    const Outcome later = run_cli("import", saga, exchange);
    EXPECT_EQ(later.exit_code, 0) << later.describe();
    EXPECT_EQ(read_file(saga), new_document);
}

} // namespace
} // namespace faults
