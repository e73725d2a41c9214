// What the "Comprobar datos" window says, written once for its Qt and its
// Win32 shell, as shell_texts.h does for the main window: a school that
// uses both sees one program. Texts are UTF-8; "&" marks a mnemonic.
#pragma once

#include "shell/window/window_layout.h"

#include <array>
#include <string>

namespace enlazor::app::checking::texts {

// The window's title before anything is checked.
inline constexpr const char* window_title_base = "Enlazor: comprobar datos";

// The header: a caption and what the window does.
inline constexpr const char* caption = "Comprobar datos";
inline constexpr const char* caption_note =
    "Lo que harían la exportación y la importación con el documento SAGA y las tablas de Horalis, sin escribir nada.";

// The fields, their buttons and the check's own button.
inline constexpr const char* document_label = "&Documento SAGA:";
inline constexpr const char* document_placeholder = "Ruta del documento SAGA (.xml)";
inline constexpr const char* browse_button = "&Examinar…";
inline constexpr const char* exchange_label = "Directorio de &intercambio:";
inline constexpr const char* change_button = "Cam&biar…";
inline constexpr const char* check_button = "&Comprobar";
inline constexpr const char* check_tip = "Comprueba el documento y las tablas de Horalis sin escribir nada";

// The findings' list, its columns, and the tables read under it.
inline constexpr const char* findings_label = "&Avisos y errores:";
inline constexpr std::array<const char*, 4> columns{"Gravedad", "Dirección", "Qué", "Dónde"};
inline constexpr const char* tables_label = "&Tablas de Horalis leídas:";
inline constexpr const char* no_tables = "Ninguna.";
inline constexpr const char* no_tables_unchecked = "Ninguna: la importación no se ha comprobado.";

// The footer's buttons.
inline constexpr const char* save_button = "&Guardar informe…";
inline constexpr const char* copy_button = "Co&piar";
inline constexpr const char* copy_tip = "Copia el informe, como lo escribe enlazor-cli check";
inline constexpr const char* close_button = "Ce&rrar";

// "Comprobar" with no document in its field.
inline constexpr const char* missing_document = "Falta el documento SAGA: escriba su ruta o pulse «Examinar…».";

// The dialogs: their titles, and what each lists. The save dialog offers
// the report's two kinds and names it after the document.
inline constexpr const char* document_dialog_title = "Documento SAGA que comprobar";
inline constexpr const char* exchange_dialog_title = "Directorio de intercambio de Horalis";
inline constexpr const char* save_dialog_title = "Guardar informe";
inline constexpr const char* report_name_suffix = "-comprobacion";

struct FileFilter {
    const char* name;
    const char* pattern;
    const char* extension; // the one a name typed without any gets
};
inline constexpr std::array<FileFilter, 2> document_filters{
    {{"Documentos SAGA", "*.xml", "xml"}, {"Todos los archivos", "*", "xml"}}};
inline constexpr std::array<FileFilter, 2> report_filters{{{"Texto", "*.txt", "txt"}, {"JSON", "*.json", "json"}}};

// "Texto (*.txt)": a filter as the dialogs show it.
inline std::string filter_text(const FileFilter& filter) {
    return std::string(filter.name) + " (" + filter.pattern + ")";
}

// What stands in the way of a report (a document that is not there, a
// directory missing) is said in dark red.
inline constexpr layout::Colour problem_colour{160, 0, 0};

} // namespace enlazor::app::checking::texts
