// The export in memory: each catalog's records come from the builders' own
// derivation (derive_records), the values a table would give back come from
// the tables' own field rules, and the assignments are resolved by the
// assignment builder's own code against indexes of those values. What the
// rules decide reaches this file through the observer; the comparisons here
// only look at the results (two records that would be stored alike).
#include "check/export_check.h"

#include "check/element_place.h"
#include "export/assignments.h"
#include "export/catalog_table.h"
#include "storage/dbf_format.h"
#include "storage/dbf_values.h"

#include <cstring>
#include <set>
#include <unordered_map>

namespace enlazor {

namespace {

// One record as it would be stored: the values assigned and the texts the
// table would give back for them, field by field.
struct StoredRecord {
    pugi::xml_node element;
    Record assigned;
    std::unordered_map<std::string, Text8> stored;

    const Text8& assigned_value(const char* field) const {
        for (const FieldValue& value : assigned)
            if (std::strcmp(value.field, field) == 0)
                return value.value;
        static const Text8 none;
        return none;
    }
};

const FieldLayout* layout_of(const CatalogTable& catalog, const char* field) {
    for (const FieldLayout& layout : catalog.fields)
        if (std::strcmp(layout.name, field) == 0)
            return &layout;
    return nullptr;
}

// What the table gives back for `value` written to the field: text cut to
// the field's width, without the blanks that fill it out.
Text8 stored_text(const FieldLayout& layout, const Text8& value, char decimal_separator) {
    const FieldInfo field = dbf::describe(layout.name, layout.type, layout.size);
    const std::optional<std::string> bytes = dbf::store_text(field, value, decimal_separator);
    return bytes ? dbf::read_text(field, *bytes, decimal_separator) : Text8{};
}

std::string utf8(const Text8& text) { return utf8_from_8bit(text); }

// Collects what the builders tell, once per element and value (the groups
// are read twice: for GRUPOST and for the assignments).
class ExportFindings : public ExportObserver {
public:
    explicit ExportFindings(CheckReport& report) : report_(report) {}

    void add(pugi::xml_node element, const char* kind, const std::string& what) {
        Finding finding;
        finding.severity = Severity::Warning;
        finding.direction = Direction::Export;
        finding.kind = kind;
        finding.place = element_place(element);
        finding.message = describe_element(finding.place, element) + ": " + what;
        report_.findings.push_back(std::move(finding));
    }

    void value_missing(pugi::xml_node element, const char* value) override {
        if (!first_time(element, value))
            return;
        if (std::strcmp(value, "id") == 0)
            missing_ids_.insert(element.internal_object());
        if (std::strcmp(value, kFirstChild) == 0)
            add(element, "missing-value",
                std::string("no tiene ningún nodo hijo, del que se lee su ") +
                    (std::strcmp(element.name(), "group") == 0 ? "descripción" : "nombre") +
                    "; se toma vacío.");
        else
            add(element, "missing-value",
                "no tiene el atributo " + quoted(value) + "; se toma vacío.");
    }

    void text_changed(pugi::xml_node element, const char* value, const WideText& read,
                      const Text8& stored) override {
        if (!first_time(element, value))
            return;
        std::string what = std::strcmp(value, kFirstChild) == 0 ? std::string("el nombre")
                           : std::strcmp(value, "DESCRIP") == 0
                               ? std::string("la descripción")
                               : "el atributo " + quoted(value);
        add(element, "text-not-kept",
            "Windows-1252 no puede guardar " + what + " " + quoted(utf8_from_wide(read)) +
                "; se escribe " + quoted(utf8(stored)) + ".");
    }

    void assigned_id_unknown(pugi::xml_node assigned, const Text8& id) override {
        // An element without id has its own finding already.
        if (id.empty() && missing_ids_.contains(assigned.internal_object()))
            return;
        if (std::strcmp(assigned.name(), "assigned-subject") == 0)
            add(assigned, "unknown-subject",
                "el id " + quoted(utf8(id)) +
                    " no es el de ninguna asignatura; su registro de ASIGT queda sin CASIG, sin "
                    "horas y sin sesiones.");
        else
            add(assigned, "unknown-teacher",
                "el id " + quoted(utf8(id)) +
                    " no es el de ningún profesor; no da código de profesor (CPROF) a su "
                    "asignatura.");
    }

    void hours_not_a_number(pugi::xml_node, const Text8& subject_id, const Text8& hours) override {
        auto [entry, inserted] = hours_.try_emplace(subject_id, HoursNotRead{hours, 0});
        ++entry->second.assignments;
        if (inserted)
            hours_order_.push_back(subject_id);
    }

    // The subjects whose hours count as 1, once each, after the assignments.
    void report_hours(const std::unordered_map<Text8, pugi::xml_node>& subjects,
                      char decimal_separator) {
        for (const Text8& id : hours_order_) {
            const HoursNotRead& hours = hours_.at(id);
            add(subjects.at(id), "hours-not-a-number",
                "sus horas se leen como " + quoted(utf8(hours.text)) +
                    ", que no es un número con el separador decimal " +
                    quoted(std::string(1, decimal_separator)) + "; cuentan como 1 en " +
                    std::to_string(hours.assignments) +
                    (hours.assignments == 1 ? " asignación." : " asignaciones."));
        }
    }

private:
    bool first_time(pugi::xml_node element, const char* value) {
        return seen_.emplace(element.internal_object(), std::string(value)).second;
    }

    struct HoursNotRead {
        Text8 text;
        std::size_t assignments;
    };

    CheckReport& report_;
    std::set<std::pair<const void*, std::string>> seen_;
    std::set<const void*> missing_ids_;
    std::unordered_map<Text8, HoursNotRead> hours_;
    std::vector<Text8> hours_order_;
};

// The records of one catalog table, derived by the builder's own code.
std::vector<StoredRecord> derive_stored(const XmlDocument& document, const CatalogTable& catalog,
                                        char decimal_separator, ExportFindings& findings) {
    std::vector<StoredRecord> records;
    derive_records(document, catalog, findings, [&](pugi::xml_node element, const Record& record) {
        StoredRecord stored{element, record, {}};
        for (const FieldValue& value : record)
            if (const FieldLayout* layout = layout_of(catalog, value.field))
                stored.stored[value.field] = stored_text(*layout, value.value, decimal_separator);
        records.push_back(std::move(stored));
    });
    return records;
}

// An id longer than IDSAGA keeps is stored cut: no look-up by id finds it.
void report_cut_ids(const std::vector<StoredRecord>& records, ExportFindings& findings) {
    for (const StoredRecord& record : records) {
        const Text8& id = record.assigned_value("IDSAGA");
        const Text8& stored = record.stored.at("IDSAGA");
        if (id == stored)
            continue;
        findings.add(record.element, "long-id",
                     "su id tiene " + std::to_string(id.size()) + " caracteres e IDSAGA guarda " +
                         std::to_string(stored.size()) + " (" + quoted(utf8(stored)) +
                         "); ni las asignaciones ni la importación lo encuentran entero.");
    }
}

// Two records whose code would be stored alike: Horalis cannot tell them
// apart, and the import gives both the id of the first.
void report_codes_stored_alike(const std::vector<StoredRecord>& records, const char* field,
                               ExportFindings& findings) {
    std::unordered_map<Text8, const StoredRecord*> first_with;
    for (const StoredRecord& record : records) {
        auto found = record.stored.find(field);
        if (found == record.stored.end())
            continue;
        auto [entry, inserted] = first_with.try_emplace(found->second, &record);
        if (inserted)
            continue;
        const StoredRecord& first = *entry->second;
        const std::string code = utf8(found->second);
        if (std::strcmp(field, "COD") == 0) {
            // Equal ids are reported as such; their codes are equal anyway.
            if (first.stored.at("IDSAGA") == record.stored.at("IDSAGA"))
                continue;
            findings.add(record.element, "shared-subject-code",
                         "comparte el código COD " + quoted(code) +
                             " (los 4 últimos caracteres del id) con " +
                             mention_element(first.element) +
                             "; Horalis no las distingue y la importación da a ambas el id de la "
                             "primera.");
        } else {
            findings.add(record.element, "codes-stored-alike",
                         "su código " + std::string(field) + " " +
                             quoted(utf8(record.assigned_value(field))) + " se guarda como " +
                             quoted(code) + ", igual que el código " +
                             quoted(utf8(first.assigned_value(field))) + " de " +
                             mention_element(first.element) +
                             "; Horalis no los distingue y la importación da a ambos el id del "
                             "primero.");
        }
    }
}

// The index the assignment builder would build from the stored table, and
// the first element of each id, for naming it.
struct IndexedTable {
    CatalogIndex index;
    std::unordered_map<Text8, pugi::xml_node> first_element;
};

IndexedTable index_stored(const std::vector<StoredRecord>& records,
                          const std::vector<std::string>& fields, ExportFindings& findings) {
    IndexedTable table;
    for (const StoredRecord& record : records) {
        const Text8& id = record.stored.at("IDSAGA");
        std::vector<Text8> values;
        for (const std::string& field : fields)
            values.push_back(record.stored.at(field));
        if (table.index.add(id, std::move(values))) {
            table.first_element.emplace(id, record.element);
            continue;
        }
        findings.add(record.element, "duplicate-id",
                     "repite el id " + quoted(utf8(id)) + " de " +
                         mention_element(table.first_element.at(id)) +
                         "; las asignaciones solo encuentran el primero.");
    }
    return table;
}

std::vector<StoredRecord> check_catalog(const XmlDocument& document, const CatalogTable& catalog,
                                        char decimal_separator, ExportFindings& findings) {
    std::vector<StoredRecord> records =
        derive_stored(document, catalog, decimal_separator, findings);
    report_cut_ids(records, findings);
    for (const char* code_field : {"COD", "CODLARGO", "ABREV"})
        if (layout_of(catalog, code_field))
            report_codes_stored_alike(records, code_field, findings);
    return records;
}

} // namespace

void check_export(const XmlDocument& document, char decimal_separator, CheckReport& report) {
    ExportFindings findings(report);
    const auto subjects = check_catalog(document, kSubjectTable, decimal_separator, findings);
    const auto teachers = check_catalog(document, kTeacherTable, decimal_separator, findings);
    check_catalog(document, kRoomTable, decimal_separator, findings);
    const auto groups = check_catalog(document, kGroupTable, decimal_separator, findings);

    const IndexedTable subject_index = index_stored(subjects, kAssignedSubjectFields, findings);
    const IndexedTable teacher_index = index_stored(teachers, kAssignedTeacherFields, findings);
    const IndexedTable group_index = index_stored(groups, kAssignedGroupFields, findings);
    resolve_assignments(document,
                        {group_index.index, subject_index.index, teacher_index.index},
                        decimal_separator, findings, [](const Assignment&) {});
    findings.report_hours(subject_index.first_element, decimal_separator);
}

} // namespace enlazor
