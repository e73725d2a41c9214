// The shell's own fixed texts, written once so the window, the frames and
// their tests cannot drift apart.
#pragma once

namespace enlazor::app::texts {

inline constexpr const char* application_title = "Enlazor";
inline constexpr const char* help_file_name = "SAGA.chm";
inline constexpr const char* window_caption = "Exportar e importar datos entre Horalis y SAGA";

// What the window shows: the two direction captions (the first one ends in
// a blank), the buttons' captions and the version line.
inline constexpr const char* export_caption = "Transformar datos desde SAGA hacia Horalis ";
inline constexpr const char* import_caption = "Transformar datos desde Horalis hacia SAGA";
inline constexpr const char* direction_button = "Aceptar";
inline constexpr const char* close_button = "&Salir";
inline constexpr const char* help_button = "F1 AYUDA";
inline constexpr const char* version_label = "Enlazor para QZ40 V-1.0";

inline constexpr const char* no_such_file = "No existe archivo";
inline constexpr const char* process_finished = "Proceso finalizado";
inline constexpr const char* accept_button = "Aceptar";

inline constexpr const char* dialog_title = "Archivo XML";
inline constexpr const char* dialog_filter = "*.xml";
inline constexpr const char* dialog_default_suffix = "xml";

// Hosted mode: the window Horalis named to live in is not there.
inline constexpr const char* no_host_window = "Controlador de ventana no válido";

// Where and how hosted mode reports its outcome.
inline constexpr const char* completion_section = "Transformadores";
inline constexpr const char* completion_key = "Transformado";

} // namespace enlazor::app::texts
