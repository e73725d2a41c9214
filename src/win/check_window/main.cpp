// enlazor-comprobar: the "Comprobar datos" window on Windows. Started from
// the Start menu it waits for a document; started with one (Explorer's
// "Open with", a shortcut, a script), it checks it at once:
//
//   enlazor-comprobar.exe [SAGA.xml] [--exchange-dir DIR]
//
// It writes nothing but the report the user saves, and ends with 0.

#include "shell/checking/check_view.h"
#include "check_window.h"
#include "message_boxes.h"
#include "platform/console.h"
#include "base/error.h"
#include "storage/settings.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <exception>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // The folder picker is a COM object of the shell's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    // The wide command line, so that a document named in any script keeps
    // its letters.
    const enlazor::app::checking::CheckArguments arguments =
        enlazor::app::checking::parse_check_arguments(enlazor::platform::utf8_arguments(0, nullptr));

    int exit_code = 0;
    try {
        enlazor::win::CheckWindow window(arguments, enlazor::settings_from_environment());
        window.run();
    } catch (const std::exception& error) {
        enlazor::win::show_error_box(nullptr, enlazor::error_box_text(error.what()));
        exit_code = 1;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return exit_code;
}
