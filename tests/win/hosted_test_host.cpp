// Hosted mode end to end on Windows: a stand-in for Horalis makes a window
// of its own, starts a copy of enlazor.exe with that window's handle, and
// answers the file dialog and the message box with window messages, as a
// person would with the mouse. It checks that Enlazor's window was a child
// of the host, that the dialog and the box belonged to the host's window,
// and what Horalis.ini says once Enlazor has ended.
//
//   hosted_test_host ENLAZOR_EXE SCENARIO SAGA_DOCUMENT
//
// Scenarios: "export" (the document is confirmed: "Proceso finalizado",
// Transformado=1, the tables written), "export-cancelled" ("No existe
// archivo", -1), "import-cancelled" ("No existe archivo", 0) and
// "host-gone" (the host destroys its window while the dialog is up: Enlazor
// ends by itself with 0). Every wait is bounded; Enlazor is ended when it
// does not finish in time.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What the host does when the file dialog comes up.
enum class Answer { Confirm, Cancel, DestroyHost };

struct Scenario {
    const char* name;
    const wchar_t* direction;
    Answer answer;
    std::vector<std::wstring> messages;  // the boxes Enlazor shows
    const char* flag;                    // Transformado in Horalis.ini
};

const Scenario scenarios[] = {
    {"export", L"EXPORTAR", Answer::Confirm, {L"Proceso finalizado"}, "1"},
    {"export-cancelled", L"EXPORTAR", Answer::Cancel, {L"No existe archivo"}, "-1"},
    {"import-cancelled", L"IMPORTAR", Answer::Cancel, {L"No existe archivo"}, "0"},
    {"host-gone", L"EXPORTAR", Answer::DestroyHost, {}, "0"},
};

constexpr DWORD time_limit_ms = 60000;

int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok)
        ++failures;
}

// ctest hands Linux paths; under Wine the Unix root is drive Z:.
fs::path windows_path(const char* argument) {
    std::string text = argument;
    if (!text.empty() && text.front() == '/')
        text = "Z:" + text;
    std::wstring wide(text.begin(), text.end());
    return fs::path(wide).make_preferred();
}

std::wstring window_text(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring class_of(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

// What the host saw of Enlazor while it ran.
struct Observed {
    DWORD process_id = 0;
    HWND host = nullptr;
    bool embedded = false;           // a TMForm child of the host, with WS_CHILD
    int dialogs = 0;                 // "Archivo XML" dialogs answered
    bool dialogs_owned_by_host = true;
    std::vector<std::wstring> messages;  // texts of the boxes answered
    bool boxes_say_aceptar = true;
    bool boxes_owned_by_host = true;
};

BOOL CALLBACK look_for_form(HWND window, LPARAM context) {
    auto* seen = reinterpret_cast<Observed*>(context);
    if (class_of(window) == L"TMForm" && GetParent(window) == seen->host &&
        (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
        seen->embedded = true;
    return TRUE;
}

BOOL CALLBACK collect_static_text(HWND child, LPARAM context) {
    if (class_of(child) == L"Static")
        *reinterpret_cast<std::wstring*>(context) += window_text(child);
    return TRUE;
}

// The file name box of the open dialog: the combo box of the file name, or
// the plain edit field of older dialogs.
HWND file_name_box(HWND dialog) {
    for (const int id : {0x47C /* cmb13 */, 0x480 /* edt1 */})
        if (HWND box = GetDlgItem(dialog, id))
            return box;
    return FindWindowExW(dialog, nullptr, L"Edit", nullptr);
}

struct Answers {
    Observed* seen;
    const Scenario* scenario;
    std::wstring document;
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
    const bool owned_by_host = GetWindow(window, GW_OWNER) == seen.host;
    const std::wstring title = window_text(window);
    if (title == L"Archivo XML") {
        answers->answered.push_back(window);
        ++seen.dialogs;
        seen.dialogs_owned_by_host &= owned_by_host;
        switch (answers->scenario->answer) {
        case Answer::Confirm:
            SendMessageW(file_name_box(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answers->document.c_str()));
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            break;
        case Answer::Cancel:
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            break;
        case Answer::DestroyHost:
            DestroyWindow(seen.host);
            break;
        }
        return FALSE;
    }
    if (title == L"Enlazor") {
        answers->answered.push_back(window);
        std::wstring text;
        EnumChildWindows(window, collect_static_text, reinterpret_cast<LPARAM>(&text));
        seen.messages.push_back(text);
        seen.boxes_owned_by_host &= owned_by_host;
        wchar_t button[64] = L"";
        GetDlgItemTextW(window, IDOK, button, 64);
        seen.boxes_say_aceptar &= std::wcscmp(button, L"Aceptar") == 0;
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK host_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(window, message, wparam, lparam);
}

HWND make_host_window() {
    WNDCLASSW host_class{};
    host_class.lpfnWndProc = host_procedure;
    host_class.hInstance = GetModuleHandleW(nullptr);
    host_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    host_class.lpszClassName = L"HoralisTestHost";
    RegisterClassW(&host_class);
    HWND host = CreateWindowExW(0, L"HoralisTestHost", L"Horalis (prueba)", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                0, 0, 900, 700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(host, SW_SHOW);
    UpdateWindow(host);
    return host;
}

void pump_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Runs Enlazor hosted in `host` until it ends, answering what it shows.
bool run_hosted(const fs::path& program, const Scenario& scenario, const fs::path& document, Observed& seen) {
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
    Answers answers{&seen, &scenario, document.wstring(), {}};
    const DWORD started = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - started < time_limit_ms) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
        ended = woke == WAIT_OBJECT_0;
        pump_messages();
        if (!ended) {
            if (IsWindow(seen.host))
                EnumChildWindows(seen.host, look_for_form, reinterpret_cast<LPARAM>(&seen));
            EnumWindows(answer_window, reinterpret_cast<LPARAM>(&answers));
        }
    }
    if (!ended) {
        std::printf("FAILED: enlazor.exe still running after %lu ms; ended it\n", time_limit_ms);
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

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: hosted_test_host ENLAZOR_EXE SCENARIO SAGA_DOCUMENT\n");
        return 2;
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
    // exchange directory and the document.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / (L"enlazor-hosted-" + std::to_wstring(GetCurrentProcessId()));
    const fs::path exchange = folder / L"HTEMP";
    fs::create_directories(exchange);
    const fs::path program = folder / L"enlazor.exe";
    const fs::path document = folder / L"saga-ies-ejemplo.xml";
    fs::copy_file(windows_path(argv[1]), program, fs::copy_options::overwrite_existing);
    fs::copy_file(windows_path(argv[3]), document, fs::copy_options::overwrite_existing);
    SetEnvironmentVariableW(L"ENLAZOR_EXCHANGE_DIR", exchange.c_str());

    Observed seen;
    seen.host = make_host_window();
    std::printf("scenario %s, host window %p\n", scenario->name, static_cast<void*>(seen.host));
    const bool ended = run_hosted(program, *scenario, document, seen);

    std::printf("file dialogs answered: %d\n", seen.dialogs);
    for (const std::wstring& text : seen.messages)
        std::printf("message box: %ls\n", text.c_str());
    check(ended, "enlazor.exe ended by itself");
    check(seen.embedded, "its window was a borderless child of the host window");
    check(seen.dialogs == 1, "the file dialog \"Archivo XML\" came up once");
    check(seen.dialogs_owned_by_host, "the file dialog belonged to the host window");
    check(seen.messages == scenario->messages, "the message boxes said what they should");
    check(seen.boxes_say_aceptar, "the message box's button said \"Aceptar\"");
    check(seen.boxes_owned_by_host, "the message box belonged to the host window");
    const std::string flag = flag_in(folder / L"Horalis.ini");
    std::printf("Horalis.ini: Transformado=%s\n", flag.c_str());
    check(flag == scenario->flag, "Horalis.ini holds the expected completion flag");
    if (scenario->answer == Answer::Confirm)
        check(fs::exists(exchange / L"ASIGNOMT.DBF") && fs::exists(exchange / L"ASIGT.DBF"),
              "the export wrote Horalis's tables");

    if (IsWindow(seen.host))
        DestroyWindow(seen.host);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return failures == 0 ? 0 : 1;
}
