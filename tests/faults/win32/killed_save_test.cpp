// enlazor-cli.exe import killed at varied moments of its save (as the task
// manager or a closing Horalis would end it): the document is always the old
// one or the new one whole, and what the killed saves left beside it goes
// with the next plain run. Around the document only its own unheld leftovers
// are ever removed.
#include "platform/executable_folder.h"
#include "platform/leftover_saves.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace enlazor {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 24;

using test_support::read_file;
using test_support::TempDir;
using test_support::write_file;

std::vector<std::wstring> entries(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

// A program of this build beside the test, started with its output going
// to `output` (or nowhere).
class Program {
public:
    Program(const std::wstring& name, const std::vector<fs::path>& arguments, const fs::path& output = {}) {
        std::wstring line = L"\"" + (executable_folder() / name).wstring() + L"\"";
        for (const fs::path& argument : arguments)
            line += L" \"" + argument.wstring() + L"\"";
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        out_ = ::CreateFileW(output.empty() ? L"NUL" : output.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                             &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = out_;
        startup.hStdError = out_;
        // Without a console of its own: under Wine a killed program's
        // console host lives on, holding the test's output open, and ctest
        // then waits for it long after the test has passed.
        started_ = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                                    nullptr, &startup, &process_);
        if (!started_)
            ADD_FAILURE() << "cannot start " << (executable_folder() / name).string() << ": error "
                          << ::GetLastError();
    }
    ~Program() {
        if (started_) {
            wait();
            ::CloseHandle(process_.hProcess);
            ::CloseHandle(process_.hThread);
        }
        if (out_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(out_);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return started_; }
    bool ended() const { return !started_ || ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
    void kill() const {
        if (started_)
            ::TerminateProcess(process_.hProcess, 99);
    }
    DWORD wait() const {
        DWORD code = 0xFFFF;
        if (started_ && ::WaitForSingleObject(process_.hProcess, INFINITE) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
    HANDLE out_ = INVALID_HANDLE_VALUE;
    bool started_ = false;
};

DWORD run_cli(const wchar_t* direction, const fs::path& saga, const fs::path& exchange,
              const fs::path& output = {}) {
    Program cli(L"enlazor-cli.exe", {direction, saga, L"--exchange-dir", exchange}, output);
    return cli.started() ? cli.wait() : 0xFFFF;
}

bool save_has_begun(const fs::path& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder / L".saga.xml.enlazor-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(search);
    return true;
}

// The bundled sample, with other sections the conversions pass over (as a
// real document carries students), so that its save takes a while.
std::string padded_sample() {
    std::string document = read_file(fs::path(ENLAZOR_SOURCE_DIR) / "samples" / "saga-ies-ejemplo.xml");
    std::string students = "  <students>\n";
    for (long n = 0; students.size() < (6u << 20); ++n)
        students += "    <student id=\"AL-" + std::to_string(n) + "\" name=\"Alumno " + std::to_string(n) +
                    "\" address=\"Calle Mayor " + std::to_string(n % 300) + ", Villanueva del R\xC3\xADo\"/>\n";
    students += "  </students>\n";
    document.insert(document.rfind("</document>"), students);
    return document;
}

// A school whose exchange directory holds everything an import reads, with
// the document before and after an import nobody interrupts.
struct School {
    TempDir dir{"enlazor-killed"};
    fs::path exchange = dir / L"HTEMP";
    fs::path folder = dir / L"centro";
    fs::path saga = folder / L"saga.xml";
    std::string old_document, new_document;
    std::chrono::steady_clock::duration whole_run{};

    void prepare() {
        fs::create_directories(exchange);
        fs::create_directories(folder);
        old_document = padded_sample();
        write_file(saga, old_document);
        ASSERT_EQ(run_cli(L"export", saga, exchange), 0u);
        Program standin(L"horalis-standin.exe", {L"--exchange-dir", exchange});
        ASSERT_TRUE(standin.started());
        ASSERT_EQ(standin.wait(), 0u);
        const fs::path reference = dir / L"referencia.xml";
        write_file(reference, old_document);
        const auto started = std::chrono::steady_clock::now();
        ASSERT_EQ(run_cli(L"import", reference, exchange), 0u);
        whole_run = std::chrono::steady_clock::now() - started;
        new_document = read_file(reference);
        ASSERT_NE(new_document, old_document);
        fs::remove(reference);
    }
};

TEST(WindowsKilledImport, TheDocumentStaysWholeAndTheNextRunLeavesNothingBeside) {
    School school;
    ASSERT_NO_FATAL_FAILURE(school.prepare());

    // Half the kills fall anywhere in the run; the other half once the save
    // has begun, a random moment after its temporary file appears.
    std::mt19937 random(20240611);
    const long whole_ms = std::chrono::duration_cast<std::chrono::milliseconds>(school.whole_run).count();
    std::uniform_int_distribution<long> anywhere(0, whole_ms + whole_ms / 10);
    std::uniform_int_distribution<long> into_save(0, 60);
    int killed_while_saving = 0, left_beside = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        write_file(school.saga, school.old_document);
        Program import(L"enlazor-cli.exe", {L"import", school.saga, L"--exchange-dir", school.exchange});
        ASSERT_TRUE(import.started());
        bool saving = false;
        if (kill % 2 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(anywhere(random)));
        } else {
            while (!import.ended() && !(saving = save_has_begun(school.folder)))
                ::Sleep(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(into_save(random)));
        }
        const bool still_running = !import.ended();
        import.kill();
        const DWORD code = import.wait();
        killed_while_saving += saving && still_running && code == 99 ? 1 : 0;
        left_beside += static_cast<int>(entries(school.folder).size()) - 1;

        const std::string now = read_file(school.saga);
        EXPECT_TRUE(now == school.old_document || now == school.new_document)
            << "kill " << kill << ": the document is neither the old one nor the new one (" << now.size()
            << " bytes; old " << school.old_document.size() << ", new " << school.new_document.size()
            << "; a cut-off new one: " << school.new_document.starts_with(now) << ")";
    }
    RecordProperty("kills", kKills);
    RecordProperty("killed_while_saving", killed_while_saving);
    RecordProperty("left_beside", left_beside);
    EXPECT_GT(killed_while_saving, 0) << "no kill landed inside a save: the test proved nothing";
    EXPECT_GT(left_beside, 0) << "no kill left a file behind: the plain run below proves nothing";

    write_file(school.saga, school.old_document);
    EXPECT_EQ(run_cli(L"import", school.saga, school.exchange), 0u);
    EXPECT_TRUE(read_file(school.saga) == school.new_document);
    EXPECT_EQ(entries(school.folder), std::vector<std::wstring>{L"saga.xml"});
}

TEST(WindowsKilledImport, ASaveInProgressIsNotTakenForALeftover) {
    School school;
    ASSERT_NO_FATAL_FAILURE(school.prepare());
    write_file(school.saga, school.old_document);
    Program import(L"enlazor-cli.exe", {L"import", school.saga, L"--exchange-dir", school.exchange});
    ASSERT_TRUE(import.started());
    bool saving = false;
    while (!import.ended() && !(saving = save_has_begun(school.folder)))
        ::Sleep(0);
    ASSERT_TRUE(saving) << "the import ended before its save began";
    // The file has only just been made: the save writes megabytes into it
    // before it lets go, well after these two looks.
    EXPECT_EQ(leftover_saves(school.saga), std::vector<fs::path>{});
    EXPECT_EQ(remove_leftover_saves(school.saga).removed, std::vector<fs::path>{});
    EXPECT_EQ(import.wait(), 0u);
    EXPECT_TRUE(read_file(school.saga) == school.new_document);
}

enum class Made { File, HeldFile, ReadOnlyFile, Directory };
struct Beside {
    const wchar_t* name;
    Made made;
    bool removed;
};

TEST(WindowsLeftoverSaves, EachDirectionRemovesOnlyItsDocumentsLeftoversThatNobodyHolds) {
    const Beside cases[] = {
        {L".saga.xml.enlazor-a1b2c3", Made::File, true},
        {L".SAGA.XML.enlazor-z9y8x7", Made::File, true},  // the same document to this file system
        {L".saga.xml.enlazor-h0ld00", Made::HeldFile, false},     // a save in progress
        {L".saga.xml.enlazor-r0nly0", Made::ReadOnlyFile, false}, // told, not removed
        {L".otro.xml.enlazor-a1b2c3", Made::File, false},
        {L".saga.xml.enlazor-a1b2c", Made::File, false},
        {L".saga.xml.enlazor-a1b2c34", Made::File, false},
        {L".saga.xml.enlazor-a1b2c3.bak", Made::File, false},
        {L"saga.xml.enlazor-a1b2c3", Made::File, false},
        {L".saga.xml.a1b2c3", Made::File, false},
        {L".saga.xml.enlazor-d1r2c3", Made::Directory, false},
    };
    for (const wchar_t* direction : {L"export", L"import"}) {
        SCOPED_TRACE(direction == std::wstring(L"export") ? "export" : "import");
        School school;
        ASSERT_NO_FATAL_FAILURE(school.prepare());
        std::vector<HANDLE> held;
        for (const Beside& c : cases) {
            const fs::path path = school.folder / c.name;
            if (c.made == Made::Directory) {
                fs::create_directory(path);
                continue;
            }
            write_file(path, "half a save");
            if (c.made == Made::ReadOnlyFile)
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
            if (c.made == Made::HeldFile) {
                // As a save holds its file: shared with nobody.
                const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                                    FILE_ATTRIBUTE_NORMAL, nullptr);
                ASSERT_NE(handle, INVALID_HANDLE_VALUE);
                held.push_back(handle);
            }
        }
        const fs::path output = school.dir / L"salida.txt";
        EXPECT_EQ(run_cli(direction, school.saga, school.exchange, output), 0u) << read_file(output);
        const std::string printed = read_file(output);
        for (const Beside& c : cases) {
            const fs::path path = school.folder / c.name;
            EXPECT_EQ(::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, c.removed)
                << path.string();
            // Only what deserves a look is told: not the held file.
            const bool told = printed.find("interrumpido " + path.string() + ":") != std::string::npos;
            EXPECT_EQ(told, c.made == Made::ReadOnlyFile) << path.string() << "\n" << printed;
        }

        // Let go, the held one is a leftover like any other.
        for (const HANDLE handle : held)
            ::CloseHandle(handle);
        EXPECT_EQ(run_cli(direction, school.saga, school.exchange), 0u);
        EXPECT_EQ(::GetFileAttributesW((school.folder / L".saga.xml.enlazor-h0ld00").c_str()),
                  INVALID_FILE_ATTRIBUTES);
        ::SetFileAttributesW((school.folder / L".saga.xml.enlazor-r0nly0").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

} // namespace
} // namespace enlazor
