// Hosted mode end to end on Windows: a stand-in for Horalis makes a window
// of its own, starts a copy of enlazor.exe with the handle of a panel in
// that window, and answers the file dialog and the message boxes with window
// messages, as a person would with the mouse. It checks how Enlazor's window
// lived in the panel (a borderless child on Windows; under Wine a borderless
// popup over it, owned by the host's top-level window, unless
// ENLAZOR_HOSTED_PLACEMENT says otherwise), that the dialog and the boxes
// belonged to the host's top-level window, and what Horalis.ini says once
// Enlazor has ended.
//
//   hosted_test_host ENLAZOR_EXE SCENARIO SAGA_DOCUMENT
//
// Scenarios: "export" (the document is confirmed: "Proceso finalizado",
// Transformado=1, the tables written), "export-cancelled" ("No existe
// archivo", -1), "import-cancelled" ("No existe archivo", 0) and
// "host-gone" (the host destroys its window while the dialog is up: Enlazor
// ends by itself with 0).
//
// Two more leave Enlazor's window up and take orders on standard input
// from a script that looks at the screen and clicks (hosted_overlay.py):
// "error-then-close" (a document that is not XML: the error box, then the
// window stays until "&Salir", 0) and "unknown-word-then-export" (a
// direction word Enlazor does not know: the window waits; the export run
// from it gives 1). Once the window shows, and after each order, the host
// prints a line "client L T R B form L T R B visible V" with the panel's
// client area and Enlazor's window on the screen. Orders: "move DX DY",
// "resize W H" (the top-level window), "minimise", "restore", "where".
//
// Every wait is bounded; Enlazor is ended when it does not finish in time.

#include "window_driver.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace enlazor::win_driver;

// What the host does when the file dialog comes up.
enum class Answer { Confirm, Cancel, DestroyHost };

// The documents the host confirms in the dialog, one per dialog in turn.
enum class Document { Sample, NotXml };

// Any text, for the error box, whose words are the XML reader's.
const std::wstring any_text = L"*";

struct Scenario {
    const char* name;
    const wchar_t* direction;
    Answer answer;
    std::vector<Document> documents;     // one per dialog confirmed
    std::vector<std::wstring> messages;  // the boxes Enlazor shows
    const char* flag;                    // Transformado in Horalis.ini
    bool takes_orders = false;           // the window stays up for a script
};

const Scenario scenarios[] = {
    {"export", L"EXPORTAR", Answer::Confirm, {Document::Sample}, {L"Proceso finalizado"}, "1"},
    {"export-cancelled", L"EXPORTAR", Answer::Cancel, {}, {L"No existe archivo"}, "-1"},
    {"import-cancelled", L"IMPORTAR", Answer::Cancel, {}, {L"No existe archivo"}, "0"},
    {"host-gone", L"EXPORTAR", Answer::DestroyHost, {}, {}, "0"},
    {"error-then-close", L"EXPORTAR", Answer::Confirm, {Document::NotXml}, {any_text}, "0", true},
    {"unknown-word-then-export", L"MIRAR", Answer::Confirm, {Document::Sample}, {L"Proceso finalizado"}, "1",
     true},
};

constexpr DWORD time_limit_ms = 60000;
// A script that looks and clicks needs longer.
constexpr DWORD time_limit_with_orders_ms = 180000;

bool under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// How Enlazor's window should live in the host: laid over it under Wine,
// unless forced either way.
bool overlay_expected() {
    wchar_t forced[16] = L"";
    GetEnvironmentVariableW(L"ENLAZOR_HOSTED_PLACEMENT", forced, 16);
    if (std::wcscmp(forced, L"child") == 0)
        return false;
    return std::wcscmp(forced, L"overlay") == 0 || under_wine();
}

// What the host saw of Enlazor while it ran.
struct Observed {
    DWORD process_id = 0;
    HWND frame = nullptr;  // the host's top-level window
    HWND host = nullptr;   // the panel in it whose handle Enlazor gets
    HWND form = nullptr;   // Enlazor's window, once found
    bool embedded = false;           // a TMForm child of the host, with WS_CHILD
    bool overlaid = false;           // a TMForm popup owned by the frame, no taskbar entry
    bool embedded_elsewhere = false; // a TMForm of Enlazor's, but neither of those
    int dialogs = 0;                 // "Archivo XML" dialogs answered
    bool dialogs_owned_by_host = true;
    std::vector<std::wstring> messages;  // texts of the boxes answered
    bool boxes_say_aceptar = true;
    bool boxes_owned_by_host = true;
};

BOOL CALLBACK look_for_form(HWND window, LPARAM context) {
    auto* seen = reinterpret_cast<Observed*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != seen->process_id || class_of(window) != L"TMForm")
        return TRUE;
    seen->form = window;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const bool borderless = !(style & (WS_CAPTION | WS_THICKFRAME));
    if (GetParent(window) == seen->host && (style & WS_CHILD) && borderless)
        seen->embedded = true;
    else if (GetWindow(window, GW_OWNER) == seen->frame && (style & WS_POPUP) && !(style & WS_CHILD) &&
             (ex_style & WS_EX_TOOLWINDOW) && borderless)
        seen->overlaid = true;
    else if (IsWindow(window)) {  // not one on its way out
        if (!seen->embedded_elsewhere)
            std::printf("window elsewhere: style %llx, parent %p, owner %p\n",
                        static_cast<unsigned long long>(style), static_cast<void*>(GetParent(window)),
                        static_cast<void*>(GetWindow(window, GW_OWNER)));
        seen->embedded_elsewhere = true;
    }
    return TRUE;
}

struct Answers {
    Observed* seen;
    const Scenario* scenario;
    std::wstring sample, not_xml;
    // A window stays up a moment after its answer: it is answered once.
    std::vector<HWND> answered;
};

BOOL CALLBACK answer_window(HWND window, LPARAM context) {
    auto* answers = reinterpret_cast<Answers*>(context);
    Observed& seen = *answers->seen;
    DWORD owner_process = 0;
    GetWindowThreadProcessId(window, &owner_process);
    if (owner_process != seen.process_id || !IsWindowVisible(window) || class_of(window) != L"#32770")
        return TRUE;
    for (const HWND done : answers->answered)
        if (done == window)
            return TRUE;
    const bool owned_by_host = GetWindow(window, GW_OWNER) == seen.frame;
    const std::wstring title = window_text(window);
    if (title == L"Archivo XML") {
        answers->answered.push_back(window);
        const std::size_t turn = seen.dialogs++;
        seen.dialogs_owned_by_host &= owned_by_host;
        const std::vector<Document>& documents = answers->scenario->documents;
        switch (answers->scenario->answer) {
        case Answer::Confirm: {
            const Document document = turn < documents.size() ? documents[turn] : Document::Sample;
            const std::wstring& path = document == Document::Sample ? answers->sample : answers->not_xml;
            SendMessageW(file_name_box(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            break;
        }
        case Answer::Cancel:
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            break;
        case Answer::DestroyHost:
            DestroyWindow(seen.frame);
            break;
        }
        return FALSE;
    }
    if (title == L"Enlazor") {
        answers->answered.push_back(window);
        const std::wstring text = static_texts(window, L"");
        seen.messages.push_back(text);
        seen.boxes_owned_by_host &= owned_by_host;
        wchar_t button[64] = L"";
        GetDlgItemTextW(window, IDOK, button, 64);
        // The error box keeps the system's own "OK".
        if (text != L"Proceso finalizado" && text != L"No existe archivo")
            std::printf("error box: %ls\n", text.c_str());
        else
            seen.boxes_say_aceptar &= std::wcscmp(button, L"Aceptar") == 0;
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK host_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(window, message, wparam, lparam);
}

// Horalis's window, and in it, a little way from its corner, the panel it
// hands Enlazor: the panel's client area is not the window's.
void make_host_windows(Observed& seen) {
    WNDCLASSW host_class{};
    host_class.lpfnWndProc = host_procedure;
    host_class.hInstance = GetModuleHandleW(nullptr);
    host_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    host_class.lpszClassName = L"HoralisTestHost";
    RegisterClassW(&host_class);
    seen.frame = CreateWindowExW(0, L"HoralisTestHost", L"Horalis (prueba)", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 0, 0, 900, 700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    RECT client{};
    GetClientRect(seen.frame, &client);
    seen.host = CreateWindowExW(0, L"HoralisTestHost", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 6, 4,
                                client.right - 12, client.bottom - 8, seen.frame, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
    ShowWindow(seen.frame, SW_SHOW);
    UpdateWindow(seen.frame);
}

void pump_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Orders from the script, read on a thread of their own and carried out on
// the host's.
class Orders {
public:
    void start() {
        std::thread([this] {
            std::string line;
            while (std::getline(std::cin, line)) {
                const std::lock_guard<std::mutex> lock(mutex_);
                lines_.push_back(line);
            }
        }).detach();
    }
    bool next(std::string& line) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (lines_.empty())
            return false;
        line = lines_.front();
        lines_.pop_front();
        return true;
    }

private:
    std::mutex mutex_;
    std::deque<std::string> lines_;
};

void report_where(const Observed& seen) {
    RECT client{}, form{};
    GetClientRect(seen.host, &client);
    MapWindowPoints(seen.host, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(seen.form, &form);
    std::printf("client %ld %ld %ld %ld form %ld %ld %ld %ld visible %d\n", client.left, client.top, client.right,
                client.bottom, form.left, form.top, form.right, form.bottom, IsWindowVisible(seen.form) ? 1 : 0);
    std::fflush(stdout);
}

void carry_out(const std::string& order, const Observed& seen) {
    RECT frame{};
    GetWindowRect(seen.frame, &frame);
    long a = 0, b = 0;
    if (std::sscanf(order.c_str(), "move %ld %ld", &a, &b) == 2)
        SetWindowPos(seen.frame, nullptr, frame.left + a, frame.top + b, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    else if (std::sscanf(order.c_str(), "resize %ld %ld", &a, &b) == 2)
        SetWindowPos(seen.frame, nullptr, 0, 0, a, b, SWP_NOMOVE | SWP_NOZORDER);
    else if (order == "minimise")
        ShowWindow(seen.frame, SW_MINIMIZE);
    else if (order == "restore")
        ShowWindow(seen.frame, SW_RESTORE);
    else if (order != "where")
        std::printf("unknown order %s\n", order.c_str());
    if (order.rfind("resize", 0) == 0) {
        RECT client{};
        GetClientRect(seen.frame, &client);
        SetWindowPos(seen.host, nullptr, 0, 0, client.right - 12, client.bottom - 8, SWP_NOMOVE | SWP_NOZORDER);
    }
    pump_messages();
    report_where(seen);
}

// Runs Enlazor hosted in `host` until it ends, answering what it shows.
bool run_hosted(const fs::path& program, const Scenario& scenario, Answers& answers) {
    Observed& seen = *answers.seen;
    wchar_t handle[32];
    std::swprintf(handle, 32, L"%llX", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(seen.host)));
    std::wstring command_line = L"\"" + program.wstring() + L"\" " + scenario.direction + L" " + handle;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAILED: enlazor.exe did not start (error %lu)\n", GetLastError());
        return false;
    }
    seen.process_id = process.dwProcessId;
    Orders orders;
    bool ready = false;
    const DWORD limit = scenario.takes_orders ? time_limit_with_orders_ms : time_limit_ms;
    const DWORD started = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - started < limit) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
        ended = woke == WAIT_OBJECT_0;
        pump_messages();
        if (ended)
            break;
        // Once the host is gone, what is left of Enlazor's lives nowhere.
        if (IsWindow(seen.frame) && IsWindow(seen.host)) {
            EnumWindows(look_for_form, reinterpret_cast<LPARAM>(&seen));
            EnumChildWindows(seen.host, look_for_form, reinterpret_cast<LPARAM>(&seen));
        }
        EnumWindows(answer_window, reinterpret_cast<LPARAM>(&answers));
        if (scenario.takes_orders && !ready && seen.form && IsWindowVisible(seen.form)) {
            ready = true;
            std::printf("ready\n");
            report_where(seen);
            orders.start();
        }
        for (std::string order; ready && orders.next(order);)
            carry_out(order, seen);
    }
    if (!ended) {
        std::printf("FAILED: enlazor.exe still running after %lu ms; ended it\n", limit);
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

std::string flag_in(const fs::path& ini) {
    char value[32] = "";
    GetPrivateProfileStringA("Transformadores", "Transformado", "(none)", value, sizeof value, ini.string().c_str());
    return value;
}

bool messages_match(const std::vector<std::wstring>& seen, const std::vector<std::wstring>& expected) {
    if (seen.size() != expected.size())
        return false;
    for (std::size_t i = 0; i < seen.size(); ++i)
        if (expected[i] != any_text ? seen[i] != expected[i] : seen[i].empty())
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: hosted_test_host ENLAZOR_EXE SCENARIO SAGA_DOCUMENT\n");
        return 2;
    }
    // Starts the Wine session's desktop process and ends: test-windows.sh
    // runs it before the tests, so that no test starts it and leaves it
    // holding that test's output open.
    if (std::string(argv[2]) == "start-session") {
        Observed seen;
        make_host_windows(seen);
        DestroyWindow(seen.frame);
        return 0;
    }
    const Scenario* scenario = nullptr;
    for (const Scenario& candidate : scenarios)
        if (std::string(argv[2]) == candidate.name)
            scenario = &candidate;
    if (!scenario) {
        std::printf("unknown scenario %s\n", argv[2]);
        return 2;
    }

    // A folder of its own: Enlazor's copy, so Horalis.ini lands here, the
    // exchange directory and the documents.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / (L"enlazor-hosted-" + std::to_wstring(GetCurrentProcessId()));
    const fs::path exchange = folder / L"HTEMP";
    fs::create_directories(exchange);
    const fs::path program = folder / L"enlazor.exe";
    const fs::path document = folder / L"saga-ies-ejemplo.xml";
    const fs::path not_xml = folder / L"roto.xml";
    fs::copy_file(windows_path(argv[1]), program, fs::copy_options::overwrite_existing);
    fs::copy_file(windows_path(argv[3]), document, fs::copy_options::overwrite_existing);
    std::ofstream(not_xml) << "<document><subjects><subject id=\"1\">";
    SetEnvironmentVariableW(L"ENLAZOR_EXCHANGE_DIR", exchange.c_str());

    Observed seen;
    make_host_windows(seen);
    const bool overlay = overlay_expected();
    std::printf("scenario %s, host window %p, %s expected\n", scenario->name, static_cast<void*>(seen.host),
                overlay ? "overlay" : "child");
    Answers answers{&seen, scenario, document.wstring(), not_xml.wstring(), {}};
    const bool ended = run_hosted(program, *scenario, answers);

    std::printf("file dialogs answered: %d\n", seen.dialogs);
    for (const std::wstring& text : seen.messages)
        std::printf("message box: %ls\n", text.c_str());
    check(ended, "enlazor.exe ended by itself");
    if (overlay)
        check(seen.overlaid, "its window was a borderless popup owned by the host's window");
    else
        check(seen.embedded, "its window was a borderless child of the host window");
    check(!seen.embedded_elsewhere, "its window lived nowhere else");
    const int dialogs = scenario->answer == Answer::Confirm ? static_cast<int>(scenario->documents.size()) : 1;
    check(seen.dialogs == dialogs, "the file dialog \"Archivo XML\" came up as often as it should");
    check(seen.dialogs_owned_by_host, "the file dialog belonged to the host's window");
    check(messages_match(seen.messages, scenario->messages), "the message boxes said what they should");
    check(seen.boxes_say_aceptar, "the message box's button said \"Aceptar\"");
    check(seen.boxes_owned_by_host, "the message box belonged to the host's window");
    const std::string flag = flag_in(folder / L"Horalis.ini");
    std::printf("Horalis.ini: Transformado=%s\n", flag.c_str());
    check(flag == scenario->flag, "Horalis.ini holds the expected completion flag");
    if (scenario->flag == std::string("1"))
        check(fs::exists(exchange / L"ASIGNOMT.DBF") && fs::exists(exchange / L"ASIGT.DBF"),
              "the export wrote Horalis's tables");

    if (IsWindow(seen.frame))
        DestroyWindow(seen.frame);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return failures == 0 ? 0 : 1;
}
