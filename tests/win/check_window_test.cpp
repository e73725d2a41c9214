// The "Comprobar datos" window end to end under Wine: enlazor-comprobar.exe
// started on a document, as a shortcut or "Open with" starts it, judged
// against enlazor-cli.exe check on the same document, which must agree with
// it in everything the user sees or saves. The buttons are pressed and the
// save dialog answered with window messages, as a person would with the
// mouse.
//
//   check_window_test COMPROBAR_EXE CLI_EXE FIXTURE SCENARIO
//
// Scenarios (table below): a document with findings, the title's counts,
// the list's rows, the report saved as text and as JSON and copied, each
// byte for byte what the command line prints; a missing exchange directory
// (the export still checked, and said so); a document that is not there and
// one that is not XML (the command line's message in the window, no box,
// the window alive until closed). Every scenario ends the window by Escape
// or by WM_CLOSE, expects exit code 0, and finds the document's folder and
// the exchange directory exactly as they were.
//
// Every wait is bounded; the window is ended when it does not finish.

#include "support/check_window_texts.h"
#include "support/files.h"
#include "window_driver.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace enlazor::win_driver;
using enlazor::test_support::read_file;

enum class Document { Findings, Missing, NotXml };
enum class Closing { Escape, CloseMessage };

struct Scenario {
    const char* name;
    Document document;
    bool exchange_dir_exists;
    bool report;                  // a title with counts, rows, saving
    const wchar_t* message_part;  // in the window under the list, when not null
    Closing closing;
};

const Scenario scenarios[] = {
    {"findings", Document::Findings, true, true, nullptr, Closing::Escape},
    {"missing-exchange-dir", Document::Findings, false, true, L"No existe el directorio de intercambio",
     Closing::CloseMessage},
    {"missing-document", Document::Missing, true, false, L"No existe archivo: ", Closing::CloseMessage},
    {"not-xml", Document::NotXml, true, false, nullptr, Closing::Escape},
};

constexpr DWORD wait_limit_ms = 60000;
const std::wstring title_base = L"Enlazor: comprobar datos";

// What a folder holds: each file's size and last write, to see that
// nothing was written.
std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> contents_of(const fs::path& folder) {
    std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> contents;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        // A folder counts by being there: its time moves with what is added.
        if (entry.is_regular_file())
            contents[entry.path()] = {entry.file_size(), entry.last_write_time()};
        else
            contents[entry.path()] = {};
    }
    return contents;
}

// A program run to its end with its standard output and error in files.
struct Finished {
    DWORD exit_code = 0xFFFFFFFF;
    std::string out, err;
};

Finished run_to_end(const fs::path& program, const std::wstring& arguments, const fs::path& folder,
                    const std::wstring& name) {
    Finished finished;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const fs::path out_file = folder / (name + L".out"), err_file = folder / (name + L".err");
    HANDLE out = CreateFileW(out_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(err_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    std::wstring command = quoted(program) + L" " + arguments;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, wait_limit_ms) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &finished.exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    finished.out = read_file(out_file);
    finished.err = read_file(err_file);
    return finished;
}

// A column title of another process's list: the message carries pointers,
// so what it points at is made in that process and read back from it.
bool column_title(HANDLE process, HWND list, int column, std::wstring& title) {
    struct Remote {
        LVCOLUMNW column;
        wchar_t text[256];
    };
    void* remote = VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return false;
    Remote local{};
    local.column.mask = LVCF_TEXT;
    local.column.pszText = static_cast<Remote*>(remote)->text;
    local.column.cchTextMax = 256;
    bool found = WriteProcessMemory(process, remote, &local, sizeof local, nullptr) &&
                 SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(remote)) &&
                 ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
    if (found)
        title = local.text;
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return found;
}

// The labels, buttons and column titles, held against the table that the
// Qt window's test holds its own against. What the header paints is no
// window to read.
void check_shown_texts(HANDLE process, HWND window) {
    using enlazor::test_support::Shown;
    const auto entry = [](Shown kind, const std::wstring& text) {
        return std::to_wstring(static_cast<int>(kind)) + L" " + text;
    };
    std::vector<std::wstring> expected, shown;
    for (const enlazor::test_support::ShownText& text : enlazor::test_support::check_window_texts)
        if (text.kind != Shown::Painted)
            expected.push_back(entry(text.kind, wide(text.text)));
    HWND list = nullptr;
    for (HWND child : children_of(window)) {
        const std::wstring kind = class_of(child);
        // The labels have no id; the summary, whose words change, has one.
        if (kind == L"Static" && GetDlgCtrlID(child) == 0)
            shown.push_back(entry(Shown::Label, window_text(child)));
        else if (kind == L"Button")
            shown.push_back(entry(Shown::Button, window_text(child)));
        else if (kind == WC_LISTVIEWW)
            list = child;
    }
    std::wstring title;
    for (int column = 0; list && column_title(process, list, column, title); ++column)
        shown.push_back(entry(Shown::Column, title));
    std::sort(expected.begin(), expected.end());
    std::sort(shown.begin(), shown.end());
    std::wstring all;
    for (const std::wstring& text : shown)
        all += L"[" + text + L"] ";
    check(shown == expected, "the labels, buttons and columns are the Qt window's: " + utf8(all));
}

// The count of "Resumen: 1 error, 13 avisos" in the command line's text.
std::wstring summary_counts(const std::string& report) {
    const std::string key = "\nResumen: ";
    const std::size_t at = report.find(key);
    if (at == std::string::npos)
        return L"(no summary)";
    const std::size_t start = at + key.size();
    std::string counts = report.substr(start, report.find('\n', start) - start);
    if (!counts.empty() && counts.back() == '\r')
        counts.pop_back();
    return wide(counts);
}

// The findings the command line lists, one line each.
int listed_findings(const std::string& report) {
    int count = 0;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);)
        count += line.rfind("  error  ", 0) == 0 || line.rfind("  aviso  ", 0) == 0;
    return count;
}

// The save dialog: the file name typed, the type chosen when asked (1 text,
// 2 JSON), then "Guardar".
bool answer_save_dialog(DWORD process_id, const fs::path& file, int type = 0) {
    HWND dialog = nullptr;
    if (!wait_for([&] { return (dialog = visible_window(process_id, L"#32770", L"Guardar informe")) != nullptr; }))
        return false;
    if (type != 0) {
        HWND types = GetDlgItem(dialog, 0x470 /* cmb1 */);
        SendMessageW(types, CB_SETCURSEL, type - 1, 0);
        // What a choice in the list sends: some dialogs listen to one, some
        // to the other.
        for (const WORD notice : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, notice), reinterpret_cast<LPARAM>(types));
    }
    HWND name = file_name_box(dialog);
    const std::wstring path = file.wstring();
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return wait_for([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

std::wstring clipboard_text() {
    std::wstring text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(50);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void run_scenario(const Scenario& scenario, const fs::path& comprobar, const fs::path& cli,
                  const fs::path& fixture) {
    const fs::path work = fresh_folder(L"comprobar");
    const fs::path school = work / L"colegio", exchange = work / L"HTEMP", reports = work / L"informes",
                   outputs = work / L"salidas";
    for (const fs::path& folder : {school, reports, outputs})
        fs::create_directories(folder);
    if (scenario.exchange_dir_exists)
        fs::create_directories(exchange);
    fs::path document = school / L"saga.xml";
    if (scenario.document == Document::Findings)
        fs::copy_file(fixture, document);
    else if (scenario.document == Document::NotXml)
        std::ofstream(document, std::ios::binary) << "Esto no es un documento XML.\r\n";
    else
        document = school / L"no-existe.xml";
    const std::wstring arguments = quoted(document) + L" --exchange-dir " + quoted(exchange);

    const Finished text = run_to_end(cli, L"check " + arguments, outputs, L"texto");
    const Finished json = run_to_end(cli, L"check " + arguments + L" --json", outputs, L"json");
    // Warnings only (4), or no document (3) or no XML (1) to check.
    const DWORD cli_exit = scenario.report ? 4 : scenario.document == Document::Missing ? 3 : 1;
    check(text.exit_code == cli_exit && json.exit_code == cli_exit,
          "enlazor-cli.exe check ends with " + std::to_string(cli_exit) + " (" + std::to_string(text.exit_code) +
              ", " + std::to_string(json.exit_code) + ")");
    const auto school_before = contents_of(school);
    const auto exchange_before = contents_of(work);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = quoted(comprobar) + L" " + arguments;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        check(false, "enlazor-comprobar.exe starts");
        return;
    }
    const DWORD id = process.dwProcessId;
    HWND window = nullptr;
    check(wait_for([&] { return (window = visible_window(id, L"EnlazorComprobar")) != nullptr; }),
          "the window shows");

    if (window && scenario.report) {
        check_shown_texts(process.hProcess, window);
        const std::wstring expected = title_base + L" (" + summary_counts(text.out) + L")";
        const bool counted = wait_for([&] { return window_text(window) == expected; });
        check(counted, "the title, " + utf8(window_text(window)) + ", counts as the command line's summary");
        HWND list = nullptr;
        for (HWND child : children_of(window))
            if (class_of(child) == WC_LISTVIEWW)
                list = child;
        const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        check(rows > 0 && rows == listed_findings(text.out),
              "the list has a row per finding the command line lists (" + std::to_string(rows) + ")");

        HWND save = child_with_text(window, L"Button", L"&Guardar informe…");
        check(save && IsWindowEnabled(save), "\"Guardar informe…\" is there and enabled after the check");
        PostMessageW(save, BM_CLICK, 0, 0);
        const fs::path saved_text = reports / L"informe.txt";
        check(answer_save_dialog(id, saved_text) && wait_for([&] { return fs::exists(saved_text); }),
              "the save dialog takes informe.txt");
        check(read_file(saved_text) == text.out, "the saved text is byte for byte enlazor-cli check's output");
        // A name without extension: the type chosen gives it.
        PostMessageW(save, BM_CLICK, 0, 0);
        const fs::path saved_json = reports / L"informe-json.json";
        check(answer_save_dialog(id, reports / L"informe-json", 2) &&
                  wait_for([&] { return fs::exists(saved_json); }),
              "a name typed without extension with \"JSON (*.json)\" chosen is saved as .json");
        const std::string saved = read_file(saved_json);
        std::size_t differ = 0;
        while (differ < saved.size() && differ < json.out.size() && saved[differ] == json.out[differ])
            ++differ;
        check(saved == json.out, "the saved JSON is byte for byte enlazor-cli check --json's (they part at byte " +
                                     std::to_string(differ) + ": \"" + saved.substr(differ, 40) + "\" and \"" +
                                     json.out.substr(differ, 40) + "\")");

        HWND copy = child_with_text(window, L"Button", L"Co&piar");
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(copy, BM_CLICK, 0, 0, SMTO_NORMAL, wait_limit_ms, &ignored);
        check(clipboard_text() == wide(text.out), "\"Copiar\" puts the command line's report on the clipboard");

        // Checked again: the rows replace the old ones, not join them.
        HWND again = child_with_text(window, L"Button", L"&Comprobar");
        SendMessageTimeoutW(again, BM_CLICK, 0, 0, SMTO_NORMAL, wait_limit_ms, &ignored);
        check(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == rows && window_text(window) == expected,
              "checking again shows the same rows and title once");
    }
    const auto says = [&](const std::wstring& part) {
        return wait_for([&] { return static_texts(window).find(part) != std::wstring::npos; });
    };
    if (window && scenario.message_part)
        check(says(scenario.message_part), "the window says " + utf8(scenario.message_part));
    if (window && !scenario.report) {
        // The command line's own words, where it tells them whole.
        if (scenario.document == Document::NotXml) {
            std::string said = text.err;
            while (!said.empty() && (said.back() == '\n' || said.back() == '\r'))
                said.pop_back();
            check(!said.empty() && says(wide(said)), "the window says what enlazor-cli says: " + said);
        }
        check(window_text(window) == title_base, "without a report the title is the base one");
        HWND save = child_with_text(window, L"Button", L"&Guardar informe…");
        check(save && !IsWindowEnabled(save), "nothing to save without a report");
    }
    check(!visible_window(id, L"#32770"), "no message box comes up");
    check(WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT, "the window stays until it is closed");

    if (scenario.closing == Closing::Escape)
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    else
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, wait_limit_ms) == WAIT_TIMEOUT) {
        check(false, "the window closes");
        TerminateProcess(process.hProcess, 99);
    }
    DWORD exit_code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &exit_code);
    check(exit_code == 0, std::string("closed by ") + (scenario.closing == Closing::Escape ? "Escape" : "WM_CLOSE") +
                              ", it ends with 0 (" + std::to_string(exit_code) + ")");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    check(contents_of(school) == school_before, "the document's folder is as it was");
    auto exchange_after = contents_of(work);
    for (const fs::path& saved : {reports / L"informe.txt", reports / L"informe-json.json"})
        exchange_after.erase(saved);
    for (const auto& [path, seen] : exchange_after)
        if (!exchange_before.count(path))
            std::printf("  written: %s\n", utf8(path.wstring()).c_str());
    check(exchange_after == exchange_before, "nothing but the saved reports was written, no exchange directory made");
    std::error_code ignored;
    fs::remove_all(work, ignored);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::printf("usage: check_window_test COMPROBAR_EXE CLI_EXE FIXTURE SCENARIO\n");
        return 2;
    }
    const std::string name = argv[4];
    for (const Scenario& scenario : scenarios) {
        if (name != scenario.name)
            continue;
        run_scenario(scenario, windows_path(argv[1]), windows_path(argv[2]), windows_path(argv[3]));
        std::printf("%s: %d failed\n", scenario.name, failures);
        std::fflush(stdout);
        // Once it has said everything, the test ends at once: a busy Wine
        // was seen to hang in a process's ordinary exit after a test that
        // had passed, and the run then failed on its time limit.
        TerminateProcess(GetCurrentProcess(), failures == 0 ? 0 : 1);
        return failures == 0 ? 0 : 1;
    }
    std::printf("unknown scenario %s\n", name.c_str());
    return 2;
}
