#include "message_boxes.h"

#include "shell/window/shell_texts.h"
#include "hosted.h"
#include "wide_text.h"

namespace enlazor::win {

namespace {

// The system's message box says "OK" in the language of Windows and comes
// up over its owner. A hook on this thread catches the box as it is being
// activated, before it is drawn, to centre it on the screen and, for the
// program's own messages, to name its button "Aceptar".
class BoxAdjuster {
public:
    explicit BoxAdjuster(bool rename_button) : rename_button_(rename_button) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, on_event, nullptr, GetCurrentThreadId());
    }
    ~BoxAdjuster() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    BoxAdjuster(const BoxAdjuster&) = delete;
    BoxAdjuster& operator=(const BoxAdjuster&) = delete;

private:
    static LRESULT CALLBACK on_event(int code, WPARAM wparam, LPARAM lparam) {
        BoxAdjuster* self = current_;
        if (code == HCBT_ACTIVATE && self && !self->done_) {
            self->done_ = true;
            self->adjust(reinterpret_cast<HWND>(wparam));
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    void adjust(HWND box) const {
        if (rename_button_) {
            const std::wstring accept = wide(app::texts::accept_button);
            SetDlgItemTextW(box, IDOK, accept.c_str());
        }
        RECT frame{};
        GetWindowRect(box, &frame);
        const POINT corner = centred_position({frame.right - frame.left, frame.bottom - frame.top});
        SetWindowPos(box, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The one box being shown on the user-interface thread; boxes never nest
    // while one is being activated.
    static inline BoxAdjuster* current_ = nullptr;
    HHOOK hook_ = nullptr;
    bool rename_button_;
    bool done_ = false;
};

void show_box(HWND owner, const std::string& text, UINT icon, bool rename_button) {
    const std::wstring message = wide(text), caption = wide(app::texts::application_title);
    // Without an owner the box still keeps the rest of the program waiting.
    const UINT modality = owner ? MB_APPLMODAL : MB_TASKMODAL;
    BoxAdjuster adjuster(rename_button);
    MessageBoxW(owner, message.c_str(), caption.c_str(), MB_OK | icon | modality | MB_SETFOREGROUND);
}

} // namespace

void show_program_message(HWND owner, const std::string& text) {
    show_box(owner, text, 0, true);
}

void show_error_box(HWND owner, const std::string& text) {
    show_box(owner, text, MB_ICONERROR, false);
}

} // namespace enlazor::win
