// The import in memory: build_time_tables, the import without its save, runs
// on the check's own copy of the document, with the tables opened shared so
// that Horalis is not kept out. What the stages decide reaches this file
// through the observer. The import itself never compares an input's day and
// interval with the days it wrote; the check does, on the section built.
#include "check/import_check.h"

#include "check/element_place.h"
#include "check/table_dialects.h"
#include "import/import_observer.h"
#include "import/time_tables.h"
#include "base/error.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace enlazor {

namespace {

std::string utf8(const Text8& text) { return utf8_from_8bit(text); }

std::string records_note(std::size_t count) {
    return count == 1 ? "" : " (" + std::to_string(count) + " registros)";
}

// The catalog in which the import looks up each SOLUC field.
const char* catalog_of(const char* field) {
    if (std::strcmp(field, "CODGRUPO") == 0) return "GRUPOST";
    if (std::strcmp(field, "PROF") == 0) return "PROFT";
    if (std::strcmp(field, "AULA") == 0) return "AULAT";
    return "ASIGNOMT";
}

class ImportFindings : public ImportObserver {
public:
    explicit ImportFindings(CheckReport& report) : report_(report) {}

    void day_never_read(std::size_t record, const Text8& dia) override {
        add_now("day-never-read", "DIASHORAST", record, "DIA", dia,
                "DIA " + quoted(utf8(dia)) +
                    " no es ninguno de los textos 1 a 7; el registro no da ningún día ni "
                    "intervalo.");
    }

    void period_never_read(std::size_t record, const Text8& dia, const Text8& hora) override {
        add_now("interval-never-read", "DIASHORAST", record, "HORA", hora,
                "HORA " + quoted(utf8(hora)) + " del día " + quoted(utf8(dia)) +
                    " no es ninguno de los textos 1 a 40; el registro no da ningún intervalo.");
    }

    void code_without_record(std::size_t record, const char* field, const Text8& code) override {
        // An empty code names nothing: the input simply has no id there.
        if (code.empty())
            return;
        count("code-without-record", Severity::Warning, record, field, code,
              [&] {
                  return "el código " + quoted(utf8(code)) + " de " + field + " no está en " +
                         catalog_of(field) +
                         "; la sesión lleva el código de Horalis en lugar de un id de SAGA";
              });
    }

    bool go_on_without_activity(std::size_t record, const Text8& asig,
                                const Text8& /*subject*/) override {
        stopping_codes_.insert(asig);
        count("subject-code-stops-import", Severity::Error, record, "ASIG", asig, [&] {
            return "la asignatura " + quoted(utf8(asig)) +
                   " no tiene registro en ASIGNOMT ni es el id de ninguna actividad; la "
                   "importación se detiene aquí con «List index out of bounds (-1)»";
        });
        return true;  // on to the next input, to find every such record
    }

    void input_written(std::size_t record, pugi::xml_node input) override {
        if (!days_read_) {
            read_days(input.parent().parent().child("days"));
            days_read_ = true;
        }
        const std::string day = input.attribute("day").value();
        const std::string interval = input.attribute("interval").value();
        if (intervals_.contains({day, interval}))
            return;
        count("input-outside-days", Severity::Warning, record, "DIA, HORA",
              to_8bit_from_utf8(day + " " + interval), [&] {
                  return "la sesión del día " + quoted(day) + ", intervalo " + quoted(interval) +
                         " no corresponde a ningún registro de DIASHORAST; SAGA recibirá una "
                         "sesión en un intervalo que no existe";
              });
    }

    // Adds the findings counted over SOLUC, in the order of their first record.
    void finish() {
        std::erase_if(pending_, [&](const Finding& finding) {
            // A subject code that stops the import is reported as such only.
            return finding.kind == "code-without-record" && finding.place.field == "ASIG" &&
                   stopping_codes_.contains(to_8bit_from_utf8(finding.place.code));
        });
        std::stable_sort(pending_.begin(), pending_.end(), [](const Finding& a, const Finding& b) {
            return a.place.record < b.place.record;
        });
        for (Finding& finding : pending_) {
            finding.message += records_note(finding.count) + ".";
            report_.findings.push_back(std::move(finding));
        }
        pending_.clear();
    }

private:
    static Finding make(const char* kind, Severity severity, const char* table, std::size_t record,
                        const char* field, const Text8& code) {
        Finding finding;
        finding.severity = severity;
        finding.direction = Direction::Import;
        finding.kind = kind;
        finding.place.table = table;
        finding.place.record = record;
        finding.place.field = field;
        finding.place.code = utf8(code);
        return finding;
    }

    static std::string where(const char* table, std::size_t record) {
        return std::string(table) + ", registro " + std::to_string(record) + ": ";
    }

    void add_now(const char* kind, const char* table, std::size_t record, const char* field,
                 const Text8& code, const std::string& what) {
        Finding finding = make(kind, Severity::Warning, table, record, field, code);
        finding.message = where(table, record) + what;
        report_.findings.push_back(std::move(finding));
    }

    // One finding per kind, field and code, however many records share it,
    // at its first record.
    template <typename Message>
    void count(const char* kind, Severity severity, std::size_t record, const char* field,
               const Text8& code, Message message) {
        auto [entry, inserted] =
            counted_.try_emplace(std::string(kind) + '\n' + field + '\n' + code, pending_.size());
        if (!inserted) {
            ++pending_[entry->second].count;
            return;
        }
        Finding finding = make(kind, severity, "SOLUC", record, field, code);
        finding.message = where("SOLUC", record) + message();
        pending_.push_back(std::move(finding));
    }

    void read_days(pugi::xml_node days) {
        for (pugi::xml_node day : days.children("day"))
            for (pugi::xml_node interval : day.children("interval"))
                intervals_.insert({day.attribute("id").value(), interval.attribute("id").value()});
    }

    CheckReport& report_;
    std::vector<Finding> pending_;
    std::map<std::string, std::size_t> counted_;  // key -> position in pending_
    std::set<Text8> stopping_codes_;
    std::set<std::pair<std::string, std::string>> intervals_;  // (day id, interval id)
    bool days_read_ = false;
};

} // namespace

void check_import(XmlDocument& document, const Settings& settings, CheckReport& report) {
    if (!file_exists(find_file_ignoring_case(settings.exchange_dir, "SOLUC.DBF")))
        return;
    report.import_checked = true;
    check_table_dialects(settings, report);
    Exchange exchange(settings, OpenMode::Shared);
    ImportFindings findings(report);
    try {
        build_time_tables(document, exchange, findings);
    } catch (const Error& error) {
        findings.finish();
        Finding finding;
        finding.severity = Severity::Error;
        finding.direction = Direction::Import;
        finding.kind = "import-stopped";
        finding.message = std::string("La importación se detendría: ") + error.what();
        report.findings.push_back(std::move(finding));
        return;
    }
    findings.finish();
}

} // namespace enlazor
