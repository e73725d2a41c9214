#include "check_window.h"

#include "shell/help/own_help.h"
#include "check_dialogs.h"
#include "shell/window/window_layout.h"
#include "message_boxes.h"
#include "platform/console.h"
#include "platform/places.h"
#include "resources.h"
#include "base/error.h"
#include "wide_text.h"
#include "window_class.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <tuple>
#include <vector>

namespace enlazor::win {

namespace checking = app::checking;
namespace layout = app::layout;
namespace texts = app::checking::texts;

namespace {

constexpr wchar_t window_class_name[] = L"EnlazorComprobar";

// Command ids, clear of IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape.
enum ControlId : int {
    id_document = 201,
    id_browse,
    id_exchange,
    id_change,
    id_check,
    id_findings,
    id_summary,
    id_tables,
    id_save,
    id_copy,
    id_close,
};

// Posted once the window shows, so that a check named on the command line
// runs with the window already on the screen.
constexpr UINT check_at_start_message = WM_APP + 1;

// The layout at 96 pixels per inch; the window scales it with the screen's.
constexpr int margin = 12;
constexpr int header_height = 52;
constexpr int footer_height = 44;
constexpr int label_width = 150;
constexpr int row_height = 23;
constexpr int row_gap = 7;
constexpr int side_button_width = 100;
constexpr int button_height = 25;
constexpr int footer_button_width = 112;
constexpr int text_height = 14;
constexpr int summary_height = 30;
constexpr int tables_height = 52;
constexpr int initial_width = 780, initial_height = 540;
constexpr int minimum_width = 560, minimum_height = 440;

// The list's first two columns; the other two share what is left, the
// message taking more than its place.
constexpr int severity_column = 70;
constexpr int direction_column = 95;

COLORREF rgb(const layout::Colour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// The system's IDI_ERROR and IDI_WARNING, whose macros are narrow here.
const wchar_t* const error_icon = MAKEINTRESOURCEW(32513);
const wchar_t* const warning_icon = MAKEINTRESOURCEW(32515);
// And IDC_WAIT.
const wchar_t* const wait_cursor = MAKEINTRESOURCEW(32514);

// One of the system's icons at the small size the list draws, the image
// made for that size rather than the large one squeezed. Shared: the
// system keeps it.
HICON system_icon(const wchar_t* which, int size) {
    return static_cast<HICON>(LoadImageW(nullptr, which, IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace

CheckWindow::CheckWindow(const checking::CheckArguments& arguments, const Settings& settings)
    : settings_(settings), dpi_(Dpi::of_screen()), look_(dpi_) {
    if (arguments.exchange_dir)
        settings_.exchange_dir = *arguments.exchange_dir;
    create_severity_icons();
    create_window();
    create_controls();
    lay_out();

    if (arguments.document)
        SetWindowTextW(document_edit_, arguments.document->wstring().c_str());
    if (!arguments.error.empty())
        show_message(arguments.error);
    else
        check_at_start_ = arguments.document.has_value();
}

CheckWindow::~CheckWindow() {
    if (handle_)
        DestroyWindow(handle_);
    header_.reset();
    footer_.reset();
    if (severity_icons_)
        ImageList_Destroy(severity_icons_);
}

// The list's severity column: the system's own error and warning icons,
// in the order of Severity's values' rows below.
void CheckWindow::create_severity_icons() {
    const int size = GetSystemMetrics(SM_CXSMICON);
    severity_icons_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0);
    for (const wchar_t* which : {error_icon, warning_icon}) {
        ImageList_AddIcon(severity_icons_, system_icon(which, size));
    }
}

void CheckWindow::create_window() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    register_window_class(window_class_name, window_procedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                          LoadIconW(instance, MAKEINTRESOURCEW(IDI_ENLAZOR)));
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_CONTROLPARENT;
    RECT outer{0, 0, dpi_.scale(initial_width), dpi_.scale(initial_height)};
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);
    // Centred in the work area, never past its corner on a small screen.
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(outer.right - outer.left, work.right - work.left);
    const int height = std::min<int>(outer.bottom - outer.top, work.bottom - work.top);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;

    const std::wstring title = wide(checking::window_title_base);
    handle_ = CreateWindowExW(ex_style, window_class_name, title.c_str(), style, left, top, width, height, nullptr,
                              nullptr, instance, this);
    if (!handle_)
        throw Error("Error creating window handle.");
}

HWND CheckWindow::add_control(const wchar_t* window_class, const std::wstring& text, DWORD style, int id,
                              HFONT font, DWORD ex_style) {
    HWND control = CreateWindowExW(ex_style, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                   handle_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// Made in keyboard order: Tab follows it, and a label's mnemonic gives the
// focus to the control made right after the label.
void CheckWindow::create_controls() {
    header_ = std::make_unique<GradientPanel>(handle_, layout::Box{0, 0, initial_width, header_height},
                                              layout::direction_gradient, dpi_);
    header_->add_label({wide(texts::caption), {margin, 8, 600, 22}, look_.caption_font, GetSysColor(COLOR_WINDOWTEXT)});
    header_->add_label({wide(texts::caption_note), {margin, 31, 900, text_height + 2}, look_.window_font,
                        GetSysColor(COLOR_WINDOWTEXT)});

    const DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;
    const DWORD button = WS_TABSTOP | BS_PUSHBUTTON;
    document_label_ = add_control(WC_STATICW, wide(texts::document_label), 0, 0, look_.window_font);
    document_edit_ = add_control(WC_EDITW, L"", edit, id_document, look_.window_font, WS_EX_CLIENTEDGE);
    const std::wstring placeholder = wide(texts::document_placeholder);
    SendMessageW(document_edit_, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(placeholder.c_str()));
    browse_button_ = add_control(WC_BUTTONW, wide(texts::browse_button), button, id_browse, look_.window_font);
    exchange_label_ = add_control(WC_STATICW, wide(texts::exchange_label), 0, 0, look_.window_font);
    exchange_edit_ = add_control(WC_EDITW, settings_.exchange_dir.wstring(), edit, id_exchange, look_.window_font,
                                 WS_EX_CLIENTEDGE);
    change_button_ = add_control(WC_BUTTONW, wide(texts::change_button), button, id_change, look_.window_font);
    check_button_ = add_control(WC_BUTTONW, wide(texts::check_button), button, id_check, look_.window_font);
    SendMessageW(check_button_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(look_.check_mark));

    findings_label_ = add_control(WC_STATICW, wide(texts::findings_label), 0, 0, look_.window_font);
    findings_ = add_control(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                            id_findings, look_.window_font, WS_EX_CLIENTEDGE);
    SendMessageW(findings_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    SendMessageW(findings_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(severity_icons_));
    add_columns();
    // Texts of the check: an "&" in them is no mnemonic.
    summary_ = add_control(WC_STATICW, L"", SS_NOPREFIX, id_summary, look_.bold_font);

    tables_label_ = add_control(WC_STATICW, wide(texts::tables_label), 0, 0, look_.window_font);
    tables_ = add_control(WC_EDITW, L"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                          id_tables, look_.window_font, WS_EX_CLIENTEDGE);

    footer_ = std::make_unique<GradientPanel>(handle_, layout::Box{0, 0, initial_width, footer_height},
                                              layout::footer_gradient, dpi_);
    const layout::Box anywhere{0, 0, footer_button_width, button_height};
    save_button_ = footer_->add_button(id_save, anywhere, wide(texts::save_button), look_.window_font);
    copy_button_ = footer_->add_button(id_copy, anywhere, wide(texts::copy_button), look_.window_font);
    close_button_ =
        footer_->add_button(id_close, anywhere, wide(texts::close_button), look_.window_font, look_.open_door);
    // Nothing to save or copy before a check.
    EnableWindow(save_button_, FALSE);
    EnableWindow(copy_button_, FALSE);
}

void CheckWindow::add_columns() {
    for (int i = 0; i < static_cast<int>(texts::columns.size()); ++i) {
        std::wstring title = wide(texts::columns[static_cast<std::size_t>(i)]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = title.data();
        column.cx = dpi_.scale(i == 0 ? severity_column : i == 1 ? direction_column : 200);
        column.iSubItem = i;
        SendMessageW(findings_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

// Every control follows the client area: the fields widen, the buttons keep
// to the right edge, the list takes the height that is left.
void CheckWindow::lay_out() {
    RECT client{};
    GetClientRect(handle_, &client);
    const int width = client.right, height = client.bottom;
    const auto s = [this](int pixels) { return dpi_.scale(pixels); };
    HDWP moves = BeginDeferWindowPos(20);
    const auto place = [&moves](HWND control, int left, int top, int w, int h) {
        if (moves)
            moves = DeferWindowPos(moves, control, nullptr, left, top, std::max(w, 0), std::max(h, 0),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    };

    place(header_->handle(), 0, 0, width, s(header_height));
    const int button_left = width - s(margin + side_button_width);
    const int field_left = s(margin + label_width);
    const int field_width = button_left - s(6) - field_left;
    int top = s(header_height + 10);
    const int label_drop = (s(row_height) - s(text_height)) / 2;
    for (const auto& [label, field, button] : {std::tuple{document_label_, document_edit_, browse_button_},
                                               std::tuple{exchange_label_, exchange_edit_, change_button_}}) {
        place(label, s(margin), top + label_drop, s(label_width - 4), s(text_height));
        place(field, field_left, top, field_width, s(row_height));
        place(button, button_left, top - 1, s(side_button_width), s(button_height));
        top += s(row_height + row_gap);
    }
    place(check_button_, button_left, top, s(side_button_width), s(button_height));
    place(findings_label_, s(margin), top + s(button_height) - s(text_height), s(label_width),
          s(text_height));
    top += s(button_height + 4);

    const int footer_top = height - s(footer_height);
    const int tables_top = footer_top - s(8 + tables_height);
    const int tables_label_top = tables_top - s(text_height + 2);
    const int summary_top = tables_label_top - s(6 + summary_height);
    place(findings_, s(margin), top, width - s(2 * margin), summary_top - s(4) - top);
    place(summary_, s(margin), summary_top, width - s(2 * margin), s(summary_height));
    place(tables_label_, s(margin), tables_label_top, width - s(2 * margin), s(text_height));
    place(tables_, s(margin), tables_top, width - s(2 * margin), s(tables_height));

    place(footer_->handle(), 0, footer_top, width, s(footer_height));
    int button_right = width - s(margin);
    for (HWND button : {close_button_, copy_button_, save_button_}) {
        const int w = s(button == save_button_ ? footer_button_width + 16 : footer_button_width - 20);
        place(button, button_right - w, (s(footer_height) - s(button_height)) / 2, w, s(button_height));
        button_right -= w + s(8);
    }
    if (moves)
        EndDeferWindowPos(moves);

    // What and where share the list's width beyond the first two columns,
    // leaving room for the scroll bar a long list brings, so that the rows
    // never need a horizontal one: the tip shows a cut text whole.
    RECT list{};
    GetClientRect(findings_, &list);
    const int room = static_cast<int>(list.right) - GetSystemMetrics(SM_CXVSCROLL);
    const int rest = std::max(room - s(severity_column + direction_column), s(200));
    SendMessageW(findings_, LVM_SETCOLUMNWIDTH, 2, rest * 3 / 5);
    SendMessageW(findings_, LVM_SETCOLUMNWIDTH, 3, rest - rest * 3 / 5);
}

void CheckWindow::run() {
    ShowWindow(handle_, SW_SHOW);
    UpdateWindow(handle_);
    SetFocus(check_at_start_ ? findings_ : document_edit_);
    if (check_at_start_)
        PostMessageW(handle_, check_at_start_message, 0, 0);

    // Tab between the controls and the mnemonics: the dialog manager's.
    run_message_loop(handle_, [this](const MSG& message) { return handle_key(message); });
}

bool CheckWindow::handle_key(const MSG& message) {
    if (!handle_ || (message.hwnd != handle_ && !IsChild(handle_, message.hwnd)) ||
        message.message != WM_KEYDOWN)
        return false;
    if (message.wParam == VK_ESCAPE) {
        DestroyWindow(handle_);
        return true;
    }
    if (message.wParam == VK_F1) {
        help::show_checking_help();
        return true;
    }
    if (message.wParam == VK_RETURN) {
        // Enter presses the focused button; in either field it checks.
        const HWND focus = GetFocus();
        for (const HWND button : {browse_button_, change_button_, check_button_, save_button_, copy_button_,
                                  close_button_}) {
            if (focus == button) {
                command(GetDlgCtrlID(button));
                return true;
            }
        }
        if (focus == document_edit_ || focus == exchange_edit_) {
            command(id_check);
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK CheckWindow::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return dispatch_to_owner(window, message, wparam, lparam, &CheckWindow::handle_, &CheckWindow::handle_message);
}

LRESULT CheckWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED && footer_)
            lay_out();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        RECT outer{0, 0, dpi_.scale(minimum_width), dpi_.scale(minimum_height)};
        AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT);
        limits->ptMinTrackSize = {outer.right - outer.left, outer.bottom - outer.top};
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        // The summary in red when it says why nothing could be checked.
        if (reinterpret_cast<HWND>(lparam) == summary_ && summary_is_problem_) {
            HDC dc = reinterpret_cast<HDC>(wparam);
            SetTextColor(dc, rgb(texts::problem_colour));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED || lparam == 0)
            command(LOWORD(wparam));
        return 0;
    case WM_NOTIFY: {
        auto* notice = reinterpret_cast<NMHDR*>(lparam);
        if (notice->hwndFrom == findings_ && notice->code == LVN_GETINFOTIPW) {
            show_row_tip(*reinterpret_cast<NMLVGETINFOTIPW*>(lparam));
            return 0;
        }
        break;
    }
    case check_at_start_message:
        check();
        return 0;
    case WM_CLOSE:
        DestroyWindow(handle_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wparam, lparam);
}

void CheckWindow::command(int id) {
    switch (id) {
    case id_browse:
        browse_document();
        break;
    case id_change:
        change_exchange_dir();
        break;
    case id_check:
    case IDOK:
        check();
        break;
    case id_save:
        save();
        break;
    case id_copy:
        copy();
        break;
    case id_close:
    case IDCANCEL:
        DestroyWindow(handle_);
        break;
    default:
        break;
    }
}

// A finding's whole message and place, which the columns may cut.
void CheckWindow::show_row_tip(NMLVGETINFOTIPW& tip) const {
    if (tip.cchTextMax <= 0 || tip.iItem < 0 || static_cast<std::size_t>(tip.iItem) >= row_tips_.size())
        return;
    std::wstring text = row_tips_[static_cast<std::size_t>(tip.iItem)];
    // The list may hand a tip already begun; ours replaces it.
    const std::size_t room = static_cast<std::size_t>(tip.cchTextMax) - 1;
    text.resize(std::min(text.size(), room));
    std::copy(text.begin(), text.end(), tip.pszText);
    tip.pszText[text.size()] = L'\0';
}

std::wstring CheckWindow::control_text(HWND control) const {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

std::filesystem::path CheckWindow::typed_path(HWND field) const {
    return path_from_utf8(checking::clean_typed_path(utf8(control_text(field))));
}

// A document chosen is checked at once, as in the Qt window.
void CheckWindow::browse_document() {
    if (const std::optional<std::filesystem::path> chosen = choose_document(handle_, typed_path(document_edit_))) {
        SetWindowTextW(document_edit_, chosen->wstring().c_str());
        check();
    }
}

void CheckWindow::change_exchange_dir() {
    if (const std::optional<std::filesystem::path> chosen = choose_exchange_dir(handle_, typed_path(exchange_edit_)))
        SetWindowTextW(exchange_edit_, chosen->wstring().c_str());
}

// Reads only: the document and the exchange directory's tables are opened,
// nothing is written.
void CheckWindow::check() {
    const std::optional<checking::CheckRequest> request =
        checking::check_request(utf8(control_text(document_edit_)), utf8(control_text(exchange_edit_)), settings_);
    if (!request) {
        show_message(texts::missing_document);
        SetFocus(document_edit_);
        return;
    }

    // The check runs on this thread: the window waits with it, under the
    // wait cursor, and takes no second click meanwhile.
    const HCURSOR before = SetCursor(LoadCursorW(nullptr, wait_cursor));
    EnableWindow(check_button_, FALSE);
    const checking::CheckOutcome outcome = checking::check_document(request->document, request->settings);
    EnableWindow(check_button_, TRUE);
    SetCursor(before);
    show(outcome);
}

void CheckWindow::show(const checking::CheckOutcome& outcome) {
    report_ = outcome.report;
    row_tips_.clear();
    SendMessageW(findings_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(findings_, LVM_DELETEALLITEMS, 0, 0);
    if (!report_) {
        SendMessageW(findings_, WM_SETREDRAW, TRUE, 0);
        show_message(outcome.message);
        return;
    }

    int index = 0;
    for (const checking::FindingRow& row : checking::finding_rows(*report_)) {
        // What the row's tip shows, which the columns may cut.
        row_tips_.push_back(wide(row.what) + (row.where.empty() ? L"" : L"\r\n" + wide(row.where)));
        std::wstring texts[] = {wide(row.severity_text), wide(row.direction_text), wide(row.what),
                                wide(row.where)};
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.iImage = row.severity == Severity::Error ? 0 : 1;
        item.pszText = texts[0].data();
        SendMessageW(findings_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < 4; ++column) {
            LVITEMW text{};
            text.iSubItem = column;
            text.pszText = texts[column].data();
            SendMessageW(findings_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&text));
        }
        ++index;
    }
    SendMessageW(findings_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(findings_, nullptr, TRUE);

    std::string summary = checking::summary_line(*report_);
    if (!outcome.message.empty())
        summary += "\n" + outcome.message;
    summary_is_problem_ = false;
    SetWindowTextW(summary_, wide(summary).c_str());

    std::string tables;
    for (const std::string& line : checking::table_lines(*report_))
        tables += (tables.empty() ? "" : "\r\n") + line;
    SetWindowTextW(tables_, wide(tables).c_str());

    SetWindowTextW(handle_, wide(checking::window_title(*report_)).c_str());
    EnableWindow(save_button_, TRUE);
    EnableWindow(copy_button_, TRUE);
}

// Why there is no report: the list and the tables empty, the message where
// the summary goes, the title back to its base.
void CheckWindow::show_message(const std::string& message) {
    report_.reset();
    row_tips_.clear();
    SendMessageW(findings_, LVM_DELETEALLITEMS, 0, 0);
    SetWindowTextW(tables_, L"");
    summary_is_problem_ = true;
    SetWindowTextW(summary_, wide(message).c_str());
    SetWindowTextW(handle_, wide(checking::window_title_base).c_str());
    EnableWindow(save_button_, FALSE);
    EnableWindow(copy_button_, FALSE);
}

void CheckWindow::save() {
    if (!report_)
        return;
    const std::optional<std::filesystem::path> file = choose_report_file(handle_, report_->document);
    if (!file)
        return;
    try {
        checking::save_report(*file, *report_);
    } catch (const std::exception& error) {
        show_error_box(handle_, error_box_text(error.what()));
    }
}

// The report as enlazor-cli prints it, with the CR LF line ends that
// Windows' clipboard text takes.
void CheckWindow::copy() {
    if (report_)
        copy_to_clipboard(handle_, platform::printed_text(report_text(*report_)));
}

} // namespace enlazor::win
