// The shell's own fixed texts, written once so the window, the frames and
// their tests cannot drift apart.
#pragma once

namespace enlazor::app::texts {

inline constexpr const char* application_title = "Enlazor";
inline constexpr const char* help_file_name = "SAGA.chm";
inline constexpr const char* window_caption = "Exportar e importar datos entre Horalis y SAGA";

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
