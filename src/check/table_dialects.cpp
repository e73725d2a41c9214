#include "check/table_dialects.h"

#include "check/element_place.h"
#include "platform/code_page.h"
#include "storage/dbf_table.h"
#include "base/error.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace enlazor {

namespace {

// The tables the import reads, its solution first.
constexpr const char* kTables[] = {"SOLUC", "DIASHORAST", "GRUPOST", "PROFT", "ASIGNOMT", "AULAT"};

std::string hex_byte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
    return text;
}

Finding table_finding(const char* kind, const std::string& table) {
    Finding finding;
    finding.severity = Severity::Warning;
    finding.direction = Direction::Import;
    finding.kind = kind;
    finding.place.table = table;
    return finding;
}

// A driver that names a code page we cannot convert from: its text is read
// as if it were in the system code page, which it is not.
void warn_of_unknown_driver(const TableRead& read, CheckReport& report) {
    const bool declared = read.driver_id != 0 || !read.driver_name.empty();
    if (read.converted || !declared || read.code_page == platform::system_code_page())
        return;
    const std::string driver = read.driver_name.empty()
                                   ? hex_byte(read.driver_id)
                                   : enlazor::quoted(read.driver_name) + " (" + hex_byte(read.driver_id) + ")";
    const std::string why = read.code_page == 0
                                ? "no es ninguno que conozcamos"
                                : "nombra la página de códigos " + std::to_string(read.code_page) +
                                      ", que este sistema no sabe convertir";
    Finding finding = table_finding("unknown-driver", read.table);
    finding.message = read.table + ": el controlador de idioma " + driver + " " + why +
                      "; su texto se lee como si estuviera en la página de códigos del sistema (" +
                      std::to_string(platform::system_code_page()) + ").";
    report.findings.push_back(std::move(finding));
}

// One finding per field whose text the system code page cannot hold, at
// its first record, with the count of such records.
void warn_of_lost_text(DbfTable& table, const std::string& name, CheckReport& report) {
    std::map<int, std::size_t> finding_of_field;  // field -> position in report.findings
    std::size_t record = 0;
    for (table.first(); !table.eof(); table.next()) {
        ++record;
        for (int i = 0; i < static_cast<int>(table.fields().size()); ++i) {
            if (table.fields()[static_cast<std::size_t>(i)].kind() != FieldType::Text)
                continue;
            const Text8 read = table.text(i);
            const WideText stored = table.stored_text(i);
            if (to_wide(read) == stored)
                continue;
            if (auto found = finding_of_field.find(i); found != finding_of_field.end()) {
                ++report.findings[found->second].count;
                continue;
            }
            const std::string field = table.fields()[static_cast<std::size_t>(i)].name;
            Finding finding = table_finding("text-lost-in-code-page", name);
            finding.place.record = record;
            finding.place.field = field;
            finding.place.code = utf8_from_wide(stored);
            finding.message = name + ", registro " + std::to_string(record) + ": el texto " +
                              enlazor::quoted(finding.place.code) + " de " + field +
                              " no cabe en la página de códigos del sistema (" +
                              std::to_string(platform::system_code_page()) + "); se lee como " +
                              enlazor::quoted(utf8_from_8bit(read));
            finding_of_field.emplace(i, report.findings.size());
            report.findings.push_back(std::move(finding));
        }
    }
    for (const auto& [field, position] : finding_of_field) {
        Finding& finding = report.findings[position];
        finding.message += finding.count == 1
                               ? "."
                               : " (" + std::to_string(finding.count) + " registros).";
    }
}

// A table without a language driver, as engines of the DOS era left
// them, says nothing of its code page: its text is taken to be in the
// system's. Plain ASCII reads alike in every code page, so only a byte
// from 0x80 on (Miércoles, Sábado in code page 850) may come out garbled.
// One finding per table, at the first such value, with the count of the
// records that hold one.
void warn_of_assumed_code_page(DbfTable& table, const TableRead& read, CheckReport& report) {
    if (read.driver_id != 0 || !read.driver_name.empty())
        return;
    std::size_t record = 0, records = 0;
    Finding finding = table_finding("assumed-code-page", read.table);
    for (table.first(); !table.eof(); table.next()) {
        ++record;
        for (int i = 0; i < static_cast<int>(table.fields().size()); ++i) {
            const FieldInfo& field = table.fields()[static_cast<std::size_t>(i)];
            if (field.kind() != FieldType::Text || field.coding != FieldCoding::Characters)
                continue;
            const Text8 text = table.text(i);
            if (std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
                continue;
            if (records++ == 0) {
                finding.place.record = record;
                finding.place.field = field.name;
                finding.place.code = utf8_from_8bit(text);
            }
            break;
        }
    }
    if (records == 0)
        return;
    finding.count = records;
    finding.message = read.table + " no tiene controlador de idioma y su texto lleva caracteres no ASCII (" +
                      finding.place.field + ", registro " + std::to_string(finding.place.record) + ": " +
                      enlazor::quoted(finding.place.code) + "): se toma la página de códigos del sistema (" +
                      std::to_string(platform::system_code_page()) +
                      ") y el texto puede leerse mal si se escribió en otra, como la 850 de MS-DOS" +
                      (records == 1 ? "." : " (" + std::to_string(records) + " registros).");
    report.findings.push_back(std::move(finding));
}

} // namespace

void check_table_dialects(const Settings& settings, CheckReport& report) {
    for (const char* name : kTables) {
        DbfTable table(settings.exchange_dir, std::string(name) + ".DBF", OpenMode::Shared,
                       settings.decimal_separator);
        if (!file_exists(table.file_path()))
            continue;
        try {
            table.open();
            const TableDialect& dialect = table.dialect();
            TableRead read{name, dialect.level, dialect.driver_id, dialect.driver_name,
                           dialect.code_page, dialect.converted, {}};
            for (const FieldInfo& field : table.fields())
                if (field.length_bit >= 0)
                    read.variable_fields.push_back(field.name);
            warn_of_unknown_driver(read, report);
            warn_of_assumed_code_page(table, read, report);
            if (dialect.converted)
                warn_of_lost_text(table, name, report);
            report.tables.push_back(std::move(read));
        } catch (const Error&) {
            // The import opens it again and stops with the table's own error.
        }
    }
}

} // namespace enlazor
