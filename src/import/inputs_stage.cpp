#include "import/inputs_stage.h"

#include "import/field_reader.h"
#include "import/section_nodes.h"
#include "import/solution_scans.h"

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

} // namespace

Text8 interval_number(double hora, double sesiones, char decimal_separator) {
    const double number = sesiones == 0.5 ? hora * 2 - 1 : hora;
    return float_to_text(number, decimal_separator);
}

std::size_t write_inputs(pugi::xml_node time_table, Exchange& exchange, const ActivityLists& lists) {
    pugi::xml_node inputs = append_element(time_table, "inputs");
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
    for (soluc.first(); !soluc.eof(); soluc.next()) {
        // A lesson Horalis could not place has day 0: no input, no number.
        if (dia.integer() == 0)
            continue;
        pugi::xml_node input = append_element(inputs, "input");
        set_text_attribute(input, "id", "input" + int_to_text(static_cast<std::int64_t>(counter++)));
        set_text_attribute(input, "day", dia.text());
        const double period = hora.floating();
        const Text8 interval = interval_number(period, sesiones.floating(), exchange.decimal_separator());
        set_text_attribute(input, "interval", "i" + interval);
        set_text_attribute(input, "activity", lists.activity_for(subjects.idsaga_for(asig.text())));
        append_single_item(input, "groups", "group", groups.idsaga_for(codgrupo.text()));
        append_single_item(input, "members", "member", teachers.idsaga_for(prof.text()));
        append_single_item(input, "locations", "location", rooms.idsaga_for(aula.text()));
    }
    return counter - 1;
}

} // namespace enlazor
