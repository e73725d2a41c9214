#include "main_form.h"

#include "shell/help/help_requests.h"
#include "shell/window/hosted_mode.h"
#include "shell/window/shell_texts.h"
#include "shell/window/window_layout.h"
#include "resources.h"
#include "base/error.h"
#include "storage/settings.h"
#include "storage/text.h"
#include "wide_text.h"
#include "window_class.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace enlazor::win {

namespace layout = app::layout;
namespace texts = app::texts;

namespace {

constexpr wchar_t form_class[] = L"TMForm";
constexpr wchar_t settings_listener_class[] = L"EnlazorSettingsListener";

// The buttons' command ids, clear of IDOK and IDCANCEL, which the dialog
// manager sends for Enter and Escape.
enum ButtonId : int { id_export = 101, id_import, id_close, id_help };

// Hosted, the window looks for its host this often: a host that ends
// without destroying its windows first leaves ours behind, in a process
// Horalis would wait for. Laid over the host, the window also follows it
// at this pace, well within a fifth of a second.
constexpr UINT_PTR host_watch = 1;
constexpr UINT host_watch_ms = 100;

// Ends the file dialog or message box this thread has open, as Cancel
// would; the frame waiting in it then finds the window closed.
BOOL CALLBACK cancel_dialog(HWND window, LPARAM) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (std::wstring_view(name) == L"#32770")
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

COLORREF rgb(const layout::Colour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// The hidden window of hosted mode passes the settings broadcast on to the
// main window; it handles nothing else.
LRESULT CALLBACK settings_listener_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    HWND form = owner_of<std::remove_pointer_t<HWND>>(window, message, lparam);
    if (message == WM_SETTINGCHANGE && form && IsWindow(form))
        SendMessageW(form, message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

TMForm::TMForm(app::ShellState& state, std::unique_ptr<app::CoreConversions> conversions,
               const std::filesystem::path& saga_folder, help::HelpSystem& help)
    : state_(state), conversions_(std::move(conversions)), help_(help), dpi_(Dpi::of_screen()), look_(dpi_),
      dialogs_([this] { return dialog_owner(); }, saga_folder),
      frames_(state_, dialogs_, *conversions_, [this] { close(); }) {
    FormCreate();
    create_window();
    listen_for_settings();
}

TMForm::~TMForm() {
    // Only a program ending abnormally finds the window still there; it
    // reports nothing then.
    state_.window_closed = true;
    if (handle_)
        DestroyWindow(handle_);
    if (settings_listener_)
        DestroyWindow(settings_listener_);
}

// A dialog frame with only the close box; inside a host a borderless child,
// or under Wine a borderless popup over the host, and for handle 0 a
// borderless window of its own. Each centred, inside a host from the
// corner of its client area.
void TMForm::create_window() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    register_window_class(form_class, window_procedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                          LoadIconW(instance, MAKEINTRESOURCEW(IDI_ENLAZOR)));

    const bool overlay = placement_.host && overlay_host(placement_.host);
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    if (overlay) {
        // A tool window owned by another has no taskbar entry of its own.
        style = WS_POPUP | WS_CLIPCHILDREN;
        ex_style = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    } else if (placement_.host) {
        style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        ex_style = WS_EX_CONTROLPARENT;
    } else if (state_.hosted()) {
        style = WS_POPUP | WS_CLIPCHILDREN;
        ex_style = WS_EX_CONTROLPARENT;
    }
    RECT outer{0, 0, dpi_.scale(layout::client_width), dpi_.scale(layout::client_height)};
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);
    const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
    POINT at = centred_position(size);
    HWND parent = placement_.host;
    if (overlay) {
        overlay_.emplace(placement_.host, at);
        at = overlay_->position();
        parent = GetAncestor(placement_.host, GA_ROOT);  // the owner
    }

    const std::wstring caption = wide(texts::window_caption);
    handle_ = CreateWindowExW(ex_style, form_class, caption.c_str(), style, at.x, at.y, size.cx, size.cy,
                              parent, nullptr, instance, this);
    if (!handle_) {
        // The host went away after it was found.
        if (placement_.host)
            throw Error(texts::no_host_window);
        throw Error("Error creating window handle.");
    }

    if (placement_.host)
        SetTimer(handle_, host_watch, host_watch_ms, nullptr);
    if (overlay_)
        overlay_->follow(handle_);  // clipped from the start

    // Made in keyboard order, which is also the order in which they lie
    // over each other where they meet: the footer first.
    build_footer();
    Draw3D2 = direction_side(layout::export_panel, layout::export_caption, texts::export_caption, id_export,
                             BExportar);
    Draw3D3 = direction_side(layout::import_panel, layout::import_caption, texts::import_caption, id_import,
                             BImportar);
}

void TMForm::build_footer() {
    Draw3D1 = std::make_unique<GradientPanel>(handle_, layout::footer_panel, layout::footer_gradient, dpi_);
    BClose = Draw3D1->add_button(id_close, layout::close_button, wide(texts::close_button), look_.window_font, look_.open_door);
    Button1 = Draw3D1->add_button(id_help, layout::help_button, wide(texts::help_button), look_.window_font);
    Draw3D1->add_label({wide(texts::version_label), layout::version_label, look_.bold_font,
                        rgb(layout::version_colour)});
}

// Either upper half: its caption, and "Aceptar" to start its direction.
std::unique_ptr<GradientPanel> TMForm::direction_side(const layout::Box& box, const layout::Box& caption_box,
                                                      const char* caption, int id, HWND& button) {
    auto panel = std::make_unique<GradientPanel>(handle_, box, layout::direction_gradient, dpi_);
    panel->add_label({wide(caption), caption_box, look_.caption_font, GetSysColor(COLOR_WINDOWTEXT)});
    button = panel->add_button(id, layout::direction_button, wide(texts::direction_button), look_.window_font,
                               look_.check_mark);
    return panel;
}

void TMForm::listen_for_settings() {
    if (!placement_.host || overlay_)
        return;
    register_window_class(settings_listener_class, settings_listener_procedure);
    settings_listener_ = CreateWindowExW(WS_EX_TOOLWINDOW, settings_listener_class, L"", WS_POPUP, 0, 0, 0, 0,
                                         nullptr, nullptr, GetModuleHandleW(nullptr), handle_);
}

void TMForm::run() {
    // The hosted direction runs before the window becomes visible; ending,
    // it has closed the window, which then never shows.
    FormShow();
    if (state_.window_closed)
        return;
    ShowWindow(handle_, SW_SHOW);
    if (overlay_) {
        overlay_->set_shown(true);
        overlay_->follow(handle_);  // the host may be minimised right now
    }
    UpdateWindow(handle_);
    SetFocus(BClose);  // the first in keyboard order

    // Tab and the arrows between the buttons, Alt+S, Space: the dialog
    // manager's; F1, Enter and Alt+F4 the window's own.
    run_message_loop(handle_, [this](const MSG& message) { return handle_key(message); });
}

bool TMForm::handle_key(const MSG& message) {
    if (!handle_ || (message.hwnd != handle_ && !IsChild(handle_, message.hwnd)))
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
        help::show_help_context(help_);
        return true;
    }
    // Enter presses the button that has the keyboard focus.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        const HWND focus = GetFocus();
        for (const HWND button : {BExportar, BImportar, BClose, Button1}) {
            if (focus == button) {
                command(GetDlgCtrlID(button));
                return true;
            }
        }
        return false;
    }
    // Alt+F4 closes this window, also when it lives inside a host, whose
    // own window would otherwise take it.
    if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4) {
        close();
        return true;
    }
    return false;
}

void TMForm::command(int id) {
    switch (id) {
    case id_export:
        BExportarClick();
        break;
    case id_import:
        BImportarClick();
        break;
    case id_close:
        close();
        break;
    case id_help:
        help::show_help_contents(help_);  // Button1Click
        break;
    default:
        break;
    }
}

LRESULT CALLBACK TMForm::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return dispatch_to_owner(window, message, wparam, lparam, &TMForm::handle_, &TMForm::handle_message);
}

LRESULT TMForm::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = handle_;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED)
            command(LOWORD(wparam));
        return 0;
    case WM_CLOSE:  // the close box, and Alt+F4 from the system
        close();
        return 0;
    case WM_ACTIVATE:
        // Coming back, the focus returns to the button that had it.
        if (LOWORD(wparam) == WA_INACTIVE)
            focused_ = GetFocus();
        else
            SetFocus(focused_ && IsChild(window, focused_) ? focused_ : BClose);
        return 0;
    case WM_SETTINGCHANGE:
        regional_settings_changed();
        break;
    case WM_TIMER:
        if (wparam != host_watch)
            return 0;
        if (!IsWindow(placement_.host))
            host_gone();
        else if (overlay_)
            overlay_->follow(window);
        return 0;
    case WM_DESTROY:
        destroyed();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void TMForm::BExportarClick() {
    frames_.run(Direction::Export);
}

void TMForm::BImportarClick() {
    frames_.run(Direction::Import);
}

void TMForm::FormCreate() {
    if (const std::optional<std::uint32_t> id = app::host_from_command_line(state_, dialogs_)) {
        placement_.host = host_window(*id);
        state_.hosted_marker = 2;
    }
}

void TMForm::FormShow() {
    app::run_hosted_direction(state_, frames_);
}

void TMForm::FormClose() {
    app::report_completion(state_, dialogs_);
}

void TMForm::close() {
    // The window closes once; a frame or the host asking again while the
    // program ends must not report twice.
    if (state_.window_closed)
        return;
    state_.window_closed = true;
    FormClose();
    if (handle_)
        DestroyWindow(handle_);
}

void TMForm::destroyed() {
    // A host that destroys its window destroys ours with it: the program
    // ends as after any close, and a dialog still open ends with it.
    // The window and perhaps the host are going: a box telling that the ini
    // could not be written must not belong to either, or it goes with them.
    destroying_ = true;
    if (!state_.window_closed) {
        state_.window_closed = true;
        FormClose();
    }
    PostQuitMessage(0);
}

// The host window is gone while ours was not destroyed with it: the
// program ends as after any close, and a dialog still open ends with it.
void TMForm::host_gone() {
    close();
    EnumThreadWindows(GetCurrentThreadId(), cancel_dialog, 0);
}

HWND TMForm::dialog_owner() const {
    return destroying_ ? nullptr : win::dialog_owner(placement_, handle_);
}

// The user changed the regional settings: the next direction reads numbers
// with the decimal separator they now name. A direction handles messages
// only in its file dialog and its final box, when none of its tables is open.
void TMForm::regional_settings_changed() {
    conversions_->use_settings(settings_from_environment());
}

} // namespace enlazor::win
