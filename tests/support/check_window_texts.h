// What the "Comprobar datos" window shows before anything is checked, the
// same on Linux and on Windows: the Qt window's test and the Win32 window's
// test each read their window's texts and hold them against this one table,
// so the two windows cannot drift apart in a word or a mnemonic.
#pragma once

namespace enlazor::test_support {

enum class Shown {
    Painted, // on the header's gradient: Qt has a label, Win32 paints it
    Label,   // a label ("Static"), its mnemonic giving the focus onwards
    Button,
    Column, // a title of the findings' list
};

struct ShownText {
    Shown kind;
    const char* text; // UTF-8, "&" before the mnemonic
};

inline constexpr ShownText check_window_texts[] = {
    {Shown::Painted, "Comprobar datos"},
    {Shown::Painted,
     "Lo que harían la exportación y la importación con el documento SAGA y las tablas de Horalis, sin escribir nada."},
    {Shown::Label, "&Documento SAGA:"},
    {Shown::Button, "&Examinar…"},
    {Shown::Label, "Directorio de &intercambio:"},
    {Shown::Button, "Cam&biar…"},
    {Shown::Button, "&Comprobar"},
    {Shown::Label, "&Avisos y errores:"},
    {Shown::Column, "Gravedad"},
    {Shown::Column, "Dirección"},
    {Shown::Column, "Qué"},
    {Shown::Column, "Dónde"},
    {Shown::Label, "&Tablas de Horalis leídas:"},
    {Shown::Button, "&Guardar informe…"},
    {Shown::Button, "Co&piar"},
    {Shown::Button, "Ce&rrar"},
};

} // namespace enlazor::test_support
