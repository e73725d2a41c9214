// The "Comprobar datos" window on Windows: the SAGA document and the
// exchange directory at the top, the findings of the core's check in a list,
// the summary and the tables read under it, and the report saved or copied.
// Everything it shows comes from shell/checking/check_view.h; this is only
// the Win32 shell around it.
#pragma once

#include "shell/checking/check_view.h"
#include "dpi.h"
#include "panels.h"
#include "window_look.h"
#include "storage/settings.h"

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace enlazor::win {

class CheckWindow {
public:
    // `arguments` is what the command line asked; `settings` the
    // environment's, whose exchange directory the window starts with
    // unless the arguments name another.
    CheckWindow(const app::checking::CheckArguments& arguments, const Settings& settings);
    ~CheckWindow();
    CheckWindow(const CheckWindow&) = delete;
    CheckWindow& operator=(const CheckWindow&) = delete;

    // Shows the window, checks the document the command line named, and
    // handles messages until the window has closed.
    void run();

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    // Enter and Escape, before the dialog manager sees them. True when handled.
    bool handle_key(const MSG& message);
    void command(int id);

    void create_severity_icons();
    void create_window();
    void create_controls();
    HWND add_control(const wchar_t* window_class, const std::wstring& text, DWORD style, int id,
                     HFONT font, DWORD ex_style = 0);
    void add_columns();
    void lay_out();

    void browse_document();
    void change_exchange_dir();
    void check();
    void show(const app::checking::CheckOutcome& outcome);
    void show_message(const std::string& message);
    void save();
    void copy();
    void show_row_tip(NMLVGETINFOTIPW& tip) const;

    std::wstring control_text(HWND control) const;
    // A field's path, as typed or pasted, cleaned as the shell does.
    std::filesystem::path typed_path(HWND field) const;

    Settings settings_;
    Dpi dpi_;
    WindowLook look_;
    HWND handle_ = nullptr;

    HIMAGELIST severity_icons_ = nullptr;

    std::unique_ptr<GradientPanel> header_, footer_;
    HWND document_label_ = nullptr, document_edit_ = nullptr, browse_button_ = nullptr;
    HWND exchange_label_ = nullptr, exchange_edit_ = nullptr, change_button_ = nullptr;
    HWND check_button_ = nullptr;
    HWND findings_label_ = nullptr, findings_ = nullptr;
    HWND summary_ = nullptr;
    HWND tables_label_ = nullptr, tables_ = nullptr;
    HWND save_button_ = nullptr, copy_button_ = nullptr, close_button_ = nullptr;

    // The last report, which "Guardar informe…" and "Copiar" hand on.
    std::optional<CheckReport> report_;
    // Each row's whole message and place, made once with the rows: the list
    // asks for a tip every time the mouse rests on a row.
    std::vector<std::wstring> row_tips_;
    // The summary says why there is no report: drawn in red.
    bool summary_is_problem_ = false;
    bool check_at_start_ = false;
};

} // namespace enlazor::win
