#include "import/inputs_stage.h"

#include "import/field_reader.h"
#include "import/section_nodes.h"
#include "import/solution_scans.h"

#include <functional>

namespace enlazor {

namespace {

// Appends `list_name` to `input` holding one `item_name`, with an `id` only
// when the looked-up identifier is not empty.
void append_single_item(pugi::xml_node input, const char* list_name, const char* item_name,
                        const Text8& id) {
    pugi::xml_node item = append_element(append_element(input, list_name), item_name);
    if (!id.empty())
        set_text_attribute(item, "id", id);
}

// The code look-up, telling the observer of a code no catalog record has.
Text8 looked_up(CatalogLookup& catalog, const Text8& code, const char* field, std::size_t record,
                ImportObserver& observer) {
    if (const Text8* idsaga = catalog.record_idsaga(code))
        return *idsaga;
    observer.code_without_record(record, field, code);
    return code;
}

// The activity of the input's subject; without one the import stops with the
// list's index error, unless the observer lets it go on.
Text8 activity_of(const ActivityLists& lists, const Text8& asig, const Text8& subject,
                  std::size_t record, ImportObserver& observer) {
    // The first entry whose subject equals it ignoring case; a missing
    // subject gives position -1 and, read, the list's index error.
    const int position = lists.subject_ids.find(subject);
    if (position < 0 && observer.go_on_without_activity(record, asig, subject))
        return {};
    return lists.activity_ids.at(position);
}

// Makes one input per placed SOLUC record: `new_input` gives the empty
// element to fill, `done` receives it filled. Returns the number made.
std::size_t make_inputs(Exchange& exchange, const ActivityLists& lists, ImportObserver& observer,
                        const std::function<pugi::xml_node()>& new_input,
                        const std::function<void(pugi::xml_node)>& done) {
    DbfTable& soluc = exchange.soluc();
    CatalogLookup subjects(exchange.nom_asg(), "COD");
    CatalogLookup groups(exchange.grupos(), "ABREV");
    CatalogLookup teachers(exchange.profesor(), "ABREV");
    CatalogLookup rooms(exchange.aulas(), "ABREV");
    FieldReader dia(soluc, "DIA");
    FieldReader hora(soluc, "HORA");
    FieldReader sesiones(soluc, "SESIONES");
    FieldReader asig(soluc, "ASIG");
    FieldReader codgrupo(soluc, "CODGRUPO");
    FieldReader prof(soluc, "PROF");
    FieldReader aula(soluc, "AULA");

    std::size_t counter = 1;  // counts only the inputs written
    std::size_t record = 0;
    for (soluc.first(); !soluc.eof(); soluc.next()) {
        ++record;
        // A lesson Horalis could not place has day 0: no input, no number.
        if (dia.integer() == 0)
            continue;
        pugi::xml_node input = new_input();
        set_text_attribute(input, "id", "input" + int_to_text(static_cast<std::int64_t>(counter++)));
        set_text_attribute(input, "day", dia.text());
        const double period = hora.floating();
        const Text8 interval = interval_number(period, sesiones.floating(), exchange.decimal_separator());
        set_text_attribute(input, "interval", "i" + interval);
        const Text8 code = asig.text();
        const Text8 subject = looked_up(subjects, code, "ASIG", record, observer);
        set_text_attribute(input, "activity", activity_of(lists, code, subject, record, observer));
        append_single_item(input, "groups", "group",
                           looked_up(groups, codgrupo.text(), "CODGRUPO", record, observer));
        append_single_item(input, "members", "member",
                           looked_up(teachers, prof.text(), "PROF", record, observer));
        append_single_item(input, "locations", "location",
                           looked_up(rooms, aula.text(), "AULA", record, observer));
        observer.input_written(record, input);
        done(input);
    }
    return counter - 1;
}

} // namespace

Text8 interval_number(double hora, double sesiones, char decimal_separator) {
    const double number = sesiones == 0.5 ? hora * 2 - 1 : hora;
    return float_to_text(number, decimal_separator);
}

std::size_t write_inputs(pugi::xml_node time_table, Exchange& exchange, const ActivityLists& lists,
                         ImportObserver& observer) {
    pugi::xml_node inputs = append_element(time_table, "inputs");
    return make_inputs(
        exchange, lists, observer, [&inputs] { return append_element(inputs, "input"); },
        [](pugi::xml_node) {});
}

std::size_t stream_inputs(Exchange& exchange, const ActivityLists& lists, ImportObserver& observer,
                          const std::function<void(pugi::xml_node)>& write_input) {
    // One input at a time in a scratch document, whose freed nodes the next
    // input reuses, so memory stays the same whatever the number of inputs.
    pugi::xml_document scratch;
    return make_inputs(
        exchange, lists, observer,
        [&scratch] {
            scratch.remove_children();
            return scratch.append_child("input");
        },
        write_input);
}

} // namespace enlazor
