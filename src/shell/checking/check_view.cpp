#include "shell/checking/check_view.h"

#include "check/check.h"
#include "platform/atomic_file.h"
#include "platform/console.h"
#include "platform/places.h"
#include "base/error.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace enlazor::app::checking {

namespace {

std::string lower_ascii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

void add_part(std::string& text, const std::string& part) {
    if (part.empty())
        return;
    text += text.empty() ? "" : ", ";
    text += part;
}

} // namespace

CheckArguments parse_check_arguments(const std::vector<std::string>& arguments) {
    CheckArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        try {
            if (std::optional<std::filesystem::path> directory = exchange_dir_option(arguments, i)) {
                parsed.exchange_dir = std::move(directory);
                continue;
            }
        } catch (const Error& error) {
            // "falta el directorio…" as a sentence of the window's.
            parsed.error = error.what();
            parsed.error[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(parsed.error[0])));
            parsed.error += ".";
            return parsed;
        }
        if (argument.size() > 1 && argument[0] == '-') {
            parsed.error = "Opción desconocida: " + argument + ".";
            return parsed;
        } else if (parsed.document) {
            parsed.error = "Solo se comprueba un documento a la vez.";
            return parsed;
        } else if (!argument.empty()) {
            parsed.document = path_from_utf8(argument);
        }
    }
    return parsed;
}

std::string clean_typed_path(std::string_view typed) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!typed.empty() && blank(typed.back()))
        typed.remove_suffix(1);
    while (!typed.empty() && blank(typed.front()))
        typed.remove_prefix(1);
    if (typed.size() >= 2 && typed.front() == '"' && typed.back() == '"')
        typed = typed.substr(1, typed.size() - 2);
    return std::string(typed);
}

std::optional<CheckRequest> check_request(std::string_view document_field, std::string_view exchange_field,
                                          const Settings& started_with) {
    const std::string document = clean_typed_path(document_field);
    if (document.empty())
        return std::nullopt;
    CheckRequest request{path_from_utf8(document), started_with};
    if (const std::string exchange = clean_typed_path(exchange_field); !exchange.empty())
        request.settings.exchange_dir = path_from_utf8(exchange);
    return request;
}

std::string place_text(const FindingPlace& place) {
    std::string text;
    if (!place.element.empty()) {
        std::string element = place.element;
        if (!place.id.empty())
            element += " " + place.id;
        if (!place.name.empty())
            element += " «" + place.name + "»";
        add_part(text, element);
        if (place.position != 0)
            add_part(text, "nº " + std::to_string(place.position));
        add_part(text, place.path);
    }
    if (!place.table.empty()) {
        std::string record = place.table;
        if (place.record != 0)
            record += ", registro " + std::to_string(place.record);
        if (!place.field.empty())
            record += ", " + place.field + " «" + place.code + "»";
        add_part(text, record);
    }
    return text;
}

std::vector<FindingRow> finding_rows(const CheckReport& report) {
    std::vector<FindingRow> rows;
    rows.reserve(report.findings.size());
    for (const Direction direction : {Direction::Export, Direction::Import}) {
        for (const Finding& finding : report.findings) {
            if (finding.direction != direction)
                continue;
            rows.push_back({finding.severity, finding.severity == Severity::Error ? "error" : "aviso",
                            direction == Direction::Export ? "Exportación" : "Importación", finding.message,
                            place_text(finding.place)});
        }
    }
    return rows;
}

std::string summary_line(const CheckReport& report) {
    std::string line = "Resumen: " + summary_counts(report);
    if (!report.import_checked)
        line += ". La importación no se comprueba: el directorio de intercambio no tiene SOLUC.";
    return line;
}

std::vector<std::string> table_lines(const CheckReport& report) {
    std::vector<std::string> lines;
    for (const TableRead& table : report.tables)
        lines.push_back(table_read_text(table));
    if (lines.empty())
        lines.emplace_back(report.import_checked ? texts::no_tables : texts::no_tables_unchecked);
    return lines;
}

std::string window_title(const CheckReport& report) {
    const std::string counts = report.findings.empty() ? "Nada que señalar" : summary_counts(report);
    return std::string(window_title_base) + " (" + counts + ")";
}

CheckOutcome check_document(const std::filesystem::path& document, const Settings& settings) {
    CheckOutcome outcome;
    try {
        outcome.report = run_check(document, settings);
    } catch (const MissingFile& missing) {
        outcome.message = std::string(missing.what()) + ": " + utf8_from_path(document);
        return outcome;
    } catch (const Error& error) {
        outcome.message = error_box_text(error.what());
        return outcome;
    } catch (const std::exception& error) {
        // Memory or the file system failing below the core's own errors.
        outcome.message = "Error: " + std::string(error.what());
        return outcome;
    }
    std::error_code ignored;
    if (!std::filesystem::is_directory(settings.exchange_dir, ignored))
        outcome.message = "No existe el directorio de intercambio " + utf8_from_path(settings.exchange_dir) +
                          ": solo se ha comprobado la exportación.";
    return outcome;
}

void save_report(const std::filesystem::path& file, const CheckReport& report) {
    const bool json = lower_ascii(utf8_from_path(file.extension())) == ".json";
    // Byte for byte what `enlazor-cli check > file` leaves on this system.
    const std::string content = platform::printed_text(json ? report_json(report) : report_text(report));
    if (const std::error_code failed = replace_file_atomically(file, content))
        throw Error("No se pudo guardar el informe en " + utf8_from_path(file) + ": " + failed.message());
}

} // namespace enlazor::app::checking
