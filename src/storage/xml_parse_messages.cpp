#include "storage/xml_parse_messages.h"

namespace enlazor {
namespace {

std::string quoted(std::string_view name) { return "«" + std::string(name) + "»"; }

// "... la entidad «x»" when the name is known, else the same without it.
std::string with_name(const char* what, std::string_view name) {
    return name.empty() ? std::string(what) : std::string(what) + " " + quoted(name);
}

} // namespace

std::string describe_parse_fault(XML_Error code, std::string_view name, std::string_view open_element) {
    switch (code) {
    case XML_ERROR_NO_MEMORY:
        return "no hay memoria suficiente para cargarlo";
    case XML_ERROR_SYNTAX:
        return "hay un error de sintaxis";
    case XML_ERROR_NO_ELEMENTS:
        return "no hay ningún elemento raíz";
    case XML_ERROR_INVALID_TOKEN:
        return "hay un carácter o una marca que XML no permite en ese lugar (por ejemplo un «&» o un «<» sueltos, "
               "o «]]>» en el texto)";
    case XML_ERROR_UNCLOSED_TOKEN:
        return "el archivo termina en mitad de una etiqueta, un comentario o una declaración";
    case XML_ERROR_PARTIAL_CHAR:
        return "el archivo termina en mitad de un carácter";
    case XML_ERROR_TAG_MISMATCH:
        if (!name.empty() && !open_element.empty())
            return "la etiqueta de cierre </" + std::string(name) + "> no corresponde al elemento " +
                   quoted(open_element) + ", que sigue abierto";
        return "una etiqueta de cierre no corresponde al elemento abierto";
    case XML_ERROR_DUPLICATE_ATTRIBUTE:
        return "un elemento repite un atributo";
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
        return "hay contenido después del elemento raíz";
    case XML_ERROR_PARAM_ENTITY_REF:
        return "hay una referencia a una entidad de parámetro donde no se permite";
    case XML_ERROR_UNDEFINED_ENTITY:
        return (name.empty() ? std::string("se usa una entidad") : "se usa la entidad " + quoted(name)) +
               " que el documento no declara (XML solo conoce amp, lt, gt, quot y apos: escriba el carácter "
               "mismo, o una referencia numérica como &#225;)";
    case XML_ERROR_RECURSIVE_ENTITY_REF:
        return with_name("la entidad", name) + " se contiene a sí misma";
    case XML_ERROR_ASYNC_ENTITY:
        return "una entidad empieza un elemento que no termina dentro de ella";
    case XML_ERROR_BAD_CHAR_REF:
        return "una referencia numérica nombra un carácter que XML no permite";
    case XML_ERROR_BINARY_ENTITY_REF:
        return with_name("se usa como texto la entidad no analizada", name);
    case XML_ERROR_ATTRIBUTE_EXTERNAL_ENTITY_REF:
        return "un atributo usa una entidad externa";
    case XML_ERROR_MISPLACED_XML_PI:
        return "la declaración XML no está al principio del archivo";
    case XML_ERROR_UNKNOWN_ENCODING:
    case XML_ERROR_INCORRECT_ENCODING:
        return "la codificación declarada no corresponde a la del archivo";
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
        return "una sección CDATA no se cierra";
    case XML_ERROR_EXTERNAL_ENTITY_HANDLING:
        return with_name("usa la entidad externa", name) + ", y el programa no lee nada de fuera del documento";
    case XML_ERROR_NOT_STANDALONE:
        return "el documento depende de declaraciones externas";
    case XML_ERROR_ENTITY_DECLARED_IN_PE:
        return "una entidad se declara dentro de una entidad de parámetro";
    case XML_ERROR_UNBOUND_PREFIX:
        return with_name("se usa el prefijo de espacio de nombres", name) + " sin declararlo";
    case XML_ERROR_UNDECLARING_PREFIX:
        return with_name("se anula la declaración del prefijo", name) + ", lo que XML 1.0 no permite";
    case XML_ERROR_INCOMPLETE_PE:
        return "una entidad de parámetro no está completa";
    case XML_ERROR_XML_DECL:
        return "la declaración XML está mal formada";
    case XML_ERROR_TEXT_DECL:
        return "la declaración de texto está mal formada";
    case XML_ERROR_PUBLICID:
        return "el identificador público tiene caracteres no permitidos";
    case XML_ERROR_RESERVED_PREFIX_XML:
        return "el prefijo «xml» está reservado y no puede declararse con otro espacio de nombres";
    case XML_ERROR_RESERVED_PREFIX_XMLNS:
        return "el prefijo «xmlns» está reservado y no puede declararse";
    case XML_ERROR_RESERVED_NAMESPACE_URI:
        return "se declara un prefijo con un espacio de nombres reservado";
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
        return "sus entidades se expanden en un texto desmesurado (como en el ataque «billion laughs»)";
    default:
        // The parser's own state faults (suspended, finished, aborted,
        // wrong argument) mean a fault of the program, not of the file.
        return "el analizador XML se detuvo con el error interno " + std::to_string(static_cast<int>(code));
    }
}

} // namespace enlazor
