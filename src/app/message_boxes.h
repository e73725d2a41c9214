// The program's two kinds of message box, both modal, captioned with the
// application title and centred on the screen rather than over the window.
#pragma once

#include <QString>

class QWidget;

namespace enlazor::app {

// "No existe archivo", "Proceso finalizado": no icon, one button "Aceptar".
void show_program_message(QWidget* owner, const QString& text);

// A failure's message: the error icon and one OK button.
void show_error_box(QWidget* owner, const QString& text);

} // namespace enlazor::app
