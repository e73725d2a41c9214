#include "check/check_report.h"
#include "base/path_text.h"

#include "storage/text.h"

#include <algorithm>
#include <cstdio>

namespace enlazor {

namespace {

// What each kind is called in the summary.
const char* kind_label(const std::string& kind) {
    static const std::map<std::string, const char*> labels = {
        {"missing-value", "valores que faltan"},
        {"leftover-save", "archivos temporales de guardados interrumpidos"},
        {"text-not-kept", "textos que Windows-1252 no puede guardar"},
        {"long-id", "ids de más de 60 caracteres"},
        {"duplicate-id", "ids repetidos"},
        {"shared-subject-code", "asignaturas con el mismo COD"},
        {"codes-stored-alike", "códigos que se guardan iguales"},
        {"unknown-subject", "asignaturas asignadas desconocidas"},
        {"unknown-teacher", "profesores asignados desconocidos"},
        {"hours-not-a-number", "horas que no son un número"},
        {"day-never-read", "DIA que no da ningún día"},
        {"interval-never-read", "HORA que no da ningún intervalo"},
        {"code-without-record", "códigos de SOLUC sin registro"},
        {"subject-code-stops-import", "asignaturas que detienen la importación"},
        {"input-outside-days", "sesiones fuera de DIASHORAST"},
        {"import-stopped", "importación detenida"},
        {"unknown-driver", "tablas con un controlador de idioma desconocido"},
        {"text-lost-in-code-page", "textos que la página de códigos del sistema no puede guardar"},
        {"assumed-code-page", "tablas sin controlador de idioma con texto que puede leerse mal"},
    };
    auto found = labels.find(kind);
    return found == labels.end() ? "" : found->second;
}

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void list_direction(std::string& out, const CheckReport& report, Direction direction,
                    const char* title) {
    out += title;
    out += "\n";
    bool any = false;
    for (const Finding& finding : report.findings) {
        if (finding.direction != direction)
            continue;
        out += finding.severity == Severity::Error ? "  ERROR  " : "  aviso  ";
        out += finding.message + "\n";
        any = true;
    }
    if (!any)
        out += "  Nada que señalar.\n";
}

// "controlador DB850ES0 (0x00), página de códigos 850"
std::string driver_text(const TableRead& table) {
    char id[8];
    std::snprintf(id, sizeof id, "0x%02X", table.driver_id & 0xFFu);
    std::string text = "controlador " + (table.driver_name.empty()
                                             ? std::string(id)
                                             : table.driver_name + " (" + id + ")");
    if (table.driver_id == 0 && table.driver_name.empty())
        return "sin controlador de idioma: página de códigos del sistema";
    if (table.code_page == 0)
        return text + ", desconocido: página de códigos del sistema";
    text += ", página de códigos " + std::to_string(table.code_page);
    return table.converted ? text + ", convertida a la del sistema" : text;
}

void list_tables(std::string& out, const CheckReport& report) {
    if (report.tables.empty())
        return;
    out += "  Tablas leídas:\n";
    for (const TableRead& table : report.tables)
        out += "    " + table_read_text(table) + "\n";
}

// ---- JSON ----

std::string json_string(const std::string& raw) {
    // File names may hold any bytes; JSON must be UTF-8.
    const std::string text = utf8_from_wide(wide_from_utf8(raw));
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);  // UTF-8 passes as it is
            }
        }
    }
    return out + "\"";
}

void json_member(std::string& out, const char* name, const std::string& value, bool& first) {
    out += first ? "" : ", ";
    out += json_string(name) + ": " + value;
    first = false;
}

std::string json_place(const FindingPlace& place) {
    std::string out = "{";
    bool first = true;
    auto text = [&](const char* name, const std::string& value) {
        if (!value.empty())
            json_member(out, name, json_string(value), first);
    };
    auto number = [&](const char* name, std::size_t value) {
        if (value != 0)
            json_member(out, name, std::to_string(value), first);
    };
    text("element", place.element);
    text("path", place.path);
    number("position", place.position);
    text("id", place.id);
    text("name", place.name);
    text("table", place.table);
    number("record", place.record);
    text("field", place.field);
    if (!place.table.empty())  // an empty code is a value of its own
        json_member(out, "code", json_string(place.code), first);
    return out + "}";
}

} // namespace

std::size_t CheckReport::errors() const {
    return static_cast<std::size_t>(std::count_if(findings.begin(), findings.end(), [](const Finding& f) {
        return f.severity == Severity::Error;
    }));
}

std::size_t CheckReport::warnings() const { return findings.size() - errors(); }

std::map<std::string, std::size_t> CheckReport::counts_by_kind() const {
    std::map<std::string, std::size_t> counts;
    for (const Finding& finding : findings)
        ++counts[finding.kind];
    return counts;
}

std::string table_read_text(const TableRead& table) {
    std::string text = table.table + ": " + table.level + "; " + driver_text(table);
    for (std::size_t i = 0; i < table.variable_fields.size(); ++i)
        text += (i == 0 ? "; campos de longitud variable: " : ", ") + table.variable_fields[i];
    return text;
}

std::string summary_counts(const CheckReport& report) {
    return plural(report.errors(), "error", "errores") + ", " + plural(report.warnings(), "aviso", "avisos");
}

std::string report_text(const CheckReport& report) {
    std::string out = "Comprobación de " + utf8_from_path(report.document) + "\n";
    out += "Directorio de intercambio: " + utf8_from_path(report.exchange_dir) + "\n";
    out += "Separador decimal: \"" + std::string(1, report.decimal_separator) + "\"\n\n";
    list_direction(out, report, Direction::Export, "Exportación (SAGA -> Horalis)");
    out += "\n";
    if (report.import_checked) {
        list_direction(out, report, Direction::Import, "Importación (Horalis -> SAGA)");
        list_tables(out, report);
    } else
        out += "Importación (Horalis -> SAGA)\n  No se comprueba: el directorio de intercambio no "
               "tiene SOLUC.\n";
    out += "\nResumen: " + summary_counts(report) + "\n";
    for (const auto& [kind, count] : report.counts_by_kind())
        out += "  " + std::string(kind_label(kind)) + " (" + kind + "): " + std::to_string(count) + "\n";
    return out;
}

std::string report_json(const CheckReport& report) {
    std::string kinds = "{";
    bool first_kind = true;
    for (const auto& [kind, count] : report.counts_by_kind())
        json_member(kinds, kind.c_str(), std::to_string(count), first_kind);
    kinds += "}";

    std::string out = "{\n";
    out += "  \"document\": " + json_string(utf8_from_path(report.document)) + ",\n";
    out += "  \"exchange_dir\": " + json_string(utf8_from_path(report.exchange_dir)) + ",\n";
    out += "  \"decimal_separator\": " + json_string(std::string(1, report.decimal_separator)) + ",\n";
    out += "  \"import_checked\": " + std::string(report.import_checked ? "true" : "false") + ",\n";
    out += "  \"summary\": {\"errors\": " + std::to_string(report.errors()) +
           ", \"warnings\": " + std::to_string(report.warnings()) + ", \"kinds\": " + kinds + "},\n";
    out += "  \"tables\": [";
    for (std::size_t i = 0; i < report.tables.size(); ++i) {
        const TableRead& table = report.tables[i];
        std::string item = "{";
        bool first = true;
        json_member(item, "table", json_string(table.table), first);
        json_member(item, "level", json_string(table.level), first);
        json_member(item, "driver_id", std::to_string(table.driver_id), first);
        json_member(item, "driver_name", json_string(table.driver_name), first);
        json_member(item, "code_page", std::to_string(table.code_page), first);
        json_member(item, "converted", table.converted ? "true" : "false", first);
        std::string variable = "[";
        for (std::size_t f = 0; f < table.variable_fields.size(); ++f)
            variable += (f == 0 ? "" : ", ") + json_string(table.variable_fields[f]);
        json_member(item, "variable_fields", variable + "]", first);
        out += (i == 0 ? "\n    " : ",\n    ") + item + "}";
    }
    out += report.tables.empty() ? "],\n" : "\n  ],\n";
    out += "  \"findings\": [";
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& finding = report.findings[i];
        std::string item = "{";
        bool first = true;
        json_member(item, "severity",
                    json_string(finding.severity == Severity::Error ? "error" : "warning"), first);
        json_member(item, "direction",
                    json_string(finding.direction == Direction::Export ? "export" : "import"), first);
        json_member(item, "kind", json_string(finding.kind), first);
        json_member(item, "message", json_string(finding.message), first);
        json_member(item, "place", json_place(finding.place), first);
        json_member(item, "count", std::to_string(finding.count), first);
        out += (i == 0 ? "\n    " : ",\n    ") + item + "}";
    }
    out += report.findings.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

} // namespace enlazor
