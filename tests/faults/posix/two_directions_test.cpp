// One direction at a time per exchange directory: a second one, from another
// command-line run or from the window, stops at once with its reason while
// the first finishes, and Horalis never sees a file of ours in the directory.
#include "fault_support.h"

#include "platform/direction_lock.h"
#include "base/error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace faults {
namespace {

using ::testing::HasSubstr;

std::string message_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const enlazor::Error& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(DirectionLock, ASecondDirectionOnTheSameDirectoryFailsWithItsReasonUntilTheFirstEnds) {
    TempDir dir;
    const fs::path exchange = dir / "HTEMP";
    fs::create_directory(exchange);
    {
        enlazor::DirectionLock first(exchange);
        const std::string message = message_of([&] { enlazor::DirectionLock second(exchange); });
        EXPECT_THAT(message, HasSubstr("Otra conversión está usando el directorio de intercambio"));
        EXPECT_THAT(message, HasSubstr(exchange.string()));

        // Another exchange directory is another Horalis: no conflict.
        fs::create_directory(dir / "OTRO");
        EXPECT_NO_THROW(enlazor::DirectionLock elsewhere(dir / "OTRO"));
    }
    EXPECT_NO_THROW(enlazor::DirectionLock again(exchange));
    EXPECT_TRUE(entries(exchange).empty()) << "the lock must leave no file for Horalis to see";
}

TEST(DirectionLock, AMissingExchangeDirectoryIsNamedAndNotCreated) {
    TempDir dir;
    const fs::path missing = dir / "HTEMP";
    EXPECT_EQ(message_of([&] { enlazor::DirectionLock lock(missing); }),
              "No existe el directorio de intercambio " + missing.string());
    EXPECT_FALSE(fs::exists(missing));

    write_file(dir / "FICHERO", "no soy un directorio");
    EXPECT_EQ(message_of([&] { enlazor::DirectionLock lock(dir / "FICHERO"); }),
              "El directorio de intercambio " + (dir / "FICHERO").string() + " no es un directorio");
    EXPECT_EQ(read_file(dir / "FICHERO"), "no soy un directorio");
}

// True while `pid` holds a flock() on the directory `directory`, as the
// kernel lists it; reading the list takes no lock of its own.
bool holds_directory_lock(pid_t pid, const fs::path& directory) {
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0)
        return false;
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, advisory, mode, device;
        long holder = 0;
        fields >> number >> kind >> advisory >> mode >> holder >> device;
        const std::string inode = device.substr(device.rfind(':') + 1);
        if (kind == "FLOCK" && holder == pid && inode == std::to_string(info.st_ino))
            return true;
    }
    return false;
}

class TwoDirections : public ::testing::Test {
protected:
    void SetUp() override {
        saga_ = dir_ / "saga.xml";
        exchange_ = dir_ / "HTEMP";
        fs::create_directory(exchange_);
        // Big enough that the first direction is still loading it when the
        // second one starts.
        SchoolSize size;
        size.padding_bytes = 24u << 20;
        write_school_document(saga_, size);
        std::string failure;
        ASSERT_TRUE(prepare_round_trip(saga_, exchange_, failure)) << failure;
        document_ = read_file(saga_);
    }

    // Starts an export and stops it (SIGSTOP) while it holds the directory.
    std::unique_ptr<Running> first_export_holding_the_directory() {
        auto first = std::make_unique<Running>(cli_command("export", saga_, exchange_));
        while (!holds_directory_lock(first->pid(), exchange_)) {
            if (first->ended())
                return nullptr;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        first->signal(SIGSTOP);
        return first;
    }

    TempDir dir_;
    fs::path saga_, exchange_;
    std::string document_;
};

TEST_F(TwoDirections, TheSecondFailsAtOnceWhileTheFirstFinishes) {
    const std::vector<std::string> names_before = entries(exchange_);
    std::unique_ptr<Running> first = first_export_holding_the_directory();
    ASSERT_TRUE(first) << "the first export ended before it could be caught holding the directory";
    const auto tables_meanwhile = snapshot(exchange_);

    for (const char* direction : {"import", "export"}) {
        const Outcome second = run_cli(direction, saga_, exchange_);
        EXPECT_EQ(second.exit_code, 1) << direction << ": " << second.describe();
        EXPECT_FALSE(second.reported_done()) << direction;
        EXPECT_THAT(second.err, HasSubstr("Otra conversión está usando el directorio de intercambio " +
                                          exchange_.string()))
            << direction;
        EXPECT_EQ(snapshot(exchange_), tables_meanwhile) << direction << " touched the tables";
        EXPECT_EQ(read_file(saga_), document_) << direction << " touched the document";
    }

    first->signal(SIGCONT);
    const Outcome finished = first->wait();
    EXPECT_EQ(finished.exit_code, 0) << finished.describe();
    EXPECT_TRUE(finished.reported_done());
    EXPECT_EQ(entries(exchange_), names_before) << "no file of ours may appear beside Horalis's tables";

    // With the first one done, the next direction runs normally.
    const Outcome later = run_cli("export", saga_, exchange_);
    EXPECT_EQ(later.exit_code, 0) << later.describe();
}

} // namespace
} // namespace faults
