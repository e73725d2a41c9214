#include "cli/command_line.h"

#include "base/error.h"
#include "platform/places.h"
#include "storage/settings.h"

namespace enlazor::cli {

Invocation parse_command_line(const std::vector<std::string>& args) {
    Invocation result;
    std::vector<std::string> positional;
    // A fault in --exchange-dir is told once every argument is read, so
    // that --help and --version still win over it.
    std::optional<UsageError> exchange_dir_fault;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return Invocation{Command::Help, {}, {}, false};
        } else if (arg == "--version") {
            return Invocation{Command::Version, {}, {}, false};
        } else if (arg == "--json") {
            result.json = true;
        } else if (arg.starts_with("--exchange-dir")) {
            try {
                if (std::optional<std::filesystem::path> dir = exchange_dir_option(args, i))
                    result.exchange_dir = std::move(dir);
                else
                    throw UsageError{"opción desconocida: " + arg};
            } catch (const Error& fault) {
                exchange_dir_fault = UsageError{fault.what()};
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError{"opción desconocida: " + arg};
        } else {
            positional.push_back(arg);
        }
    }
    if (exchange_dir_fault)
        throw *exchange_dir_fault;
    if (positional.empty())
        throw UsageError{"falta la orden: export, import o check"};
    const std::string& command = positional[0];
    if (command == "export")
        result.command = Command::Export;
    else if (command == "import")
        result.command = Command::Import;
    else if (command == "check")
        result.command = Command::Check;
    else
        throw UsageError{"orden desconocida: " + command};
    if (result.json && result.command != Command::Check)
        throw UsageError{"--json solo vale con check"};
    if (positional.size() != 2)
        throw UsageError{positional.size() < 2 ? "falta el documento SAGA"
                                               : "sobran argumentos tras el documento SAGA"};
    if (positional[1].empty())
        throw UsageError{"el nombre del documento SAGA está vacío"};
    result.saga_path = path_from_utf8(positional[1]);
    return result;
}

std::string help_text() {
    return
        "Uso: enlazor-cli export SAGA.xml [--exchange-dir DIR]\n"
        "     enlazor-cli import SAGA.xml [--exchange-dir DIR]\n"
        "     enlazor-cli check SAGA.xml [--exchange-dir DIR] [--json]\n"
        "     enlazor-cli --help | --version\n"
        "\n"
        "Intercambia los datos de un centro entre SAGA y Horalis.\n"
        "  export   crea las tablas de Horalis (ASIGNOMT, PROFT, AULAT, GRUPOST,\n"
        "           ASIGT y DIASHORAST) a partir del documento SAGA.\n"
        "  import   escribe en el documento SAGA la sección time-tables a partir\n"
        "           del horario que Horalis dejó en SOLUC, y lo guarda.\n"
        "  check    cuenta, sin escribir nada, qué harían la exportación con el\n"
        "           documento y, si el directorio tiene SOLUC, la importación con\n"
        "           las tablas de Horalis: cada aviso o error con el elemento o el\n"
        "           registro al que se refiere, y un resumen.\n"
        "\n"
        "Opciones:\n"
        "  --exchange-dir DIR  directorio de intercambio de Horalis. Por omisión,\n"
        "                      $ENLAZOR_EXCHANGE_DIR o, si no está definida,\n"
        "                      ${WINEPREFIX:-$HOME/.wine}/drive_c/HTEMP.\n"
        "  --json              (check) el informe en JSON, para programas.\n"
        "  --help              muestra esta ayuda.\n"
        "  --version           muestra la versión.\n"
        "\n"
        "El separador decimal sigue la configuración regional (LC_ALL,\n"
        "LC_NUMERIC o LANG).\n"
        "\n"
        "Códigos de salida:\n"
        "  0  proceso finalizado (check: nada que señalar)\n"
        "  1  error de conversión (tabla, documento o número; check: el\n"
        "     documento no se puede leer)\n"
        "  2  argumentos incorrectos\n"
        "  3  no existe el documento SAGA (\"No existe archivo\")\n"
        "  4  check: solo avisos; nada detendría una dirección\n"
        "  5  check: algún error detendría una dirección\n";
}

} // namespace enlazor::cli
