// The program's two kinds of message box, both modal, captioned with the
// application title "Enlazor" and centred on the screen. Texts are UTF-8.
#pragma once

#include <windows.h>

#include <string>

namespace enlazor::win {

// "No existe archivo", "Proceso finalizado": no icon and one button
// "Aceptar", whatever the language of Windows.
void show_program_message(HWND owner, const std::string& text);

// A failure's message: the error icon and one OK button.
void show_error_box(HWND owner, const std::string& text);

} // namespace enlazor::win
