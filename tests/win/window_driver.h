// What the Win32 end-to-end tests share to drive a program's windows from
// another process, as a person would with the mouse: the checks they print,
// the paths ctest hands them, windows found by class, text and owner, the
// file dialogs' name box, and bounded waits.
#pragma once

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace enlazor::win_driver {

namespace fs = std::filesystem;

// How many checks failed so far; the test's exit code follows it.
inline int failures = 0;

// Prints "ok: what" or "FAILED: what", and counts a failure.
inline void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!ok)
        ++failures;
}

inline std::string utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

inline std::wstring wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring chars(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), chars.data(), size);
    return chars;
}

// ctest hands Linux paths; under Wine the Unix root is drive Z:.
inline fs::path windows_path(const char* argument) {
    std::string text = argument;
    if (!text.empty() && text.front() == '/')
        text = "Z:" + text;
    return fs::path(wide(text)).make_preferred();
}

inline std::wstring quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

inline std::wstring window_text(HWND window) {
    wchar_t text[2048] = L"";
    GetWindowTextW(window, text, 2048);
    return text;
}

inline std::wstring class_of(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

inline DWORD process_of(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

inline BOOL CALLBACK collect_window(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

// Every window inside `window`, however deep.
inline std::vector<HWND> children_of(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, collect_window, reinterpret_cast<LPARAM>(&children));
    return children;
}

inline HWND child_with_text(HWND window, const std::wstring& class_name, const std::wstring& text) {
    for (HWND child : children_of(window))
        if (class_of(child) == class_name && window_text(child) == text)
            return child;
    return nullptr;
}

// The texts of a window's labels, each followed by `separator`: a message
// box's message, a window's labels and what it says in them.
inline std::wstring static_texts(HWND window, const std::wstring& separator = L"\n") {
    std::wstring texts;
    for (HWND child : children_of(window))
        if (class_of(child) == L"Static")
            texts += window_text(child) + separator;
    return texts;
}

// A visible top-level window of `process_id` of the class, and with the
// title when one is given.
inline HWND visible_window(DWORD process_id, const std::wstring& class_name, const std::wstring& title = L"") {
    std::vector<HWND> windows;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows)
        if (process_of(window) == process_id && IsWindowVisible(window) && class_of(window) == class_name &&
            (title.empty() || window_text(window) == title))
            return window;
    return nullptr;
}

// The file name box of a file dialog: the combo box of the file name, or
// the plain edit field of older dialogs.
inline HWND file_name_box(HWND dialog) {
    for (const int id : {0x47C /* cmb13 */, 0x480 /* edt1 */})
        if (HWND box = GetDlgItem(dialog, id))
            return box;
    return FindWindowExW(dialog, nullptr, L"Edit", nullptr);
}

// Waits until `done` holds, at most `limit_ms`; false when it never did.
template <typename Condition>
bool wait_for(Condition done, DWORD limit_ms = 60000) {
    const ULONGLONG end = GetTickCount64() + limit_ms;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(50);
    }
    return true;
}

// A new folder under the temporary one, named for the test and this run.
inline fs::path fresh_folder(const std::wstring& prefix) {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / (prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                              std::to_wstring(GetTickCount64()));
    fs::create_directories(folder);
    return folder;
}

} // namespace enlazor::win_driver
