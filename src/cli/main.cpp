// enlazor-cli: the two directions for scripted and headless use, over the
// same core the window uses. It collects the arguments, runs one direction
// (or the check of both) and reports its outcome; every rule lives in the core.
#include "check/check.h"
#include "cli/command_line.h"
#include "export/export_tables.h"
#include "import/time_tables.h"
#include "platform/console.h"
#include "platform/places.h"
#include "base/error.h"
#include "storage/exchange.h"
#include "storage/settings.h"

#include <iostream>

using namespace enlazor;
using namespace enlazor::cli;

namespace {

void print_export_summary(const ExportSummary& summary, const Exchange& exchange) {
    std::cout << "Proceso finalizado\n";
    for (const TableCount& table : summary.tables)
        std::cout << "  " << table.table << ": " << table.records << " registros\n";
    std::cout << "Directorio de intercambio: " << utf8_from_path(exchange.directory()) << "\n";
}

void print_import_summary(const ImportSummary& summary, const Exchange& exchange,
                          const std::filesystem::path& saga_path) {
    std::cout << "Proceso finalizado\n"
              << "  días: " << summary.days << ", intervalos: " << summary.intervals << "\n"
              << "  grupos: " << summary.groups << ", profesores: " << summary.members
              << ", actividades: " << summary.activities << "\n"
              << "  sesiones (inputs): " << summary.inputs << "\n"
              << "Documento actualizado: " << utf8_from_path(saga_path) << "\n"
              << "Directorio de intercambio: " << utf8_from_path(exchange.directory()) << "\n";
}

// The conversion is done; a temporary file of an interrupted save that could
// not be removed (no permission, a file system without locks) stays for the
// user to see to, and `check` keeps pointing at it.
void warn_of_kept_leftovers(const LeftoverRemoval& leftovers) {
    for (const LeftoverRemoval::Kept& kept : leftovers.kept)
        std::cerr << "Aviso: no se pudo eliminar el archivo temporal de un guardado interrumpido "
                  << utf8_from_path(kept.path) << ": " << kept.error.message() << "\n";
}

int run(const Invocation& invocation) {
    Settings settings = settings_from_environment();
    if (invocation.exchange_dir)
        settings.exchange_dir = *invocation.exchange_dir;
    if (invocation.command == Command::Check) {
        CheckReport report;
        try {
            report = run_check(invocation.saga_path, settings);
        } catch (const Error& e) {
            // A script reads the answer on standard output even when the
            // check cannot begin; the message goes to the terminal as well.
            if (invocation.json && (dynamic_cast<const MissingFile*>(&e) || dynamic_cast<const DocumentNotLoaded*>(&e)))
                std::cout << report_json(unchecked_document_report(invocation.saga_path, settings, e));
            throw;
        }
        std::cout << (invocation.json ? report_json(report) : report_text(report));
        if (report.errors() > 0)
            return kCheckErrors;
        return report.warnings() > 0 ? kCheckWarnings : kSuccess;
    }
    Exchange exchange(settings);
    if (invocation.command == Command::Export) {
        ExportSummary summary = run_export(invocation.saga_path, exchange);
        print_export_summary(summary, exchange);
        warn_of_kept_leftovers(summary.leftovers);
    } else {
        ImportSummary summary = run_import(invocation.saga_path, exchange);
        print_import_summary(summary, exchange, invocation.saga_path);
        warn_of_kept_leftovers(summary.leftovers);
    }
    return kSuccess;
}

} // namespace

int main(int argc, char** argv) {
    platform::prepare_utf8_console();
    Invocation invocation;
    try {
        invocation = parse_command_line(platform::utf8_arguments(argc, argv));
    } catch (const UsageError& e) {
        std::cerr << "enlazor-cli: " << e.message << "\n"
                  << "Pruebe «enlazor-cli --help» para más información.\n";
        return kUsageError;
    }
    switch (invocation.command) {
    case Command::Help:
        std::cout << help_text();
        return kSuccess;
    case Command::Version:
        std::cout << "enlazor-cli " << ENLAZOR_VERSION << "\n";
        return kSuccess;
    default:
        break;
    }
    try {
        return run(invocation);
    } catch (const MissingFile& e) {
        std::cerr << e.what() << "\n  " << utf8_from_path(invocation.saga_path) << "\n";
        return kMissingFile;
    } catch (const Error& e) {
        std::cerr << error_box_text(e.what()) << "\n";
        return kConversionError;
    } catch (const std::exception& e) {
        // Anything below the core's own errors (memory, the file system
        // library) is still reported, never a silent abort.
        std::cerr << "Error: " << e.what() << "\n";
        return kConversionError;
    }
}
