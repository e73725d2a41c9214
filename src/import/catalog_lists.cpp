#include "import/catalog_lists.h"

#include "import/field_reader.h"
#include "import/section_nodes.h"
#include "import/solution_scans.h"

namespace enlazor {

namespace {

// groups/group and members/member: one item with `id` = IDSAGA per record
// whose code occurs in the solution. An empty IDSAGA still gives an `id`.
std::size_t write_id_list(pugi::xml_node time_table, const char* list_name, const char* item_name,
                          DbfTable& catalog, DbfTable& soluc, const char* solution_field) {
    pugi::xml_node list = append_element(time_table, list_name);
    SolutionCodes used(soluc, solution_field);
    FieldReader code(catalog, "ABREV");
    FieldReader idsaga(catalog, "IDSAGA");
    std::size_t written = 0;
    for (catalog.first(); !catalog.eof(); catalog.next()) {
        if (!used.occurs(code.text()))
            continue;
        set_text_attribute(append_element(list, item_name), "id", idsaga.text());
        ++written;
    }
    return written;
}

} // namespace

std::size_t write_groups(pugi::xml_node time_table, DbfTable& grupos, DbfTable& soluc) {
    return write_id_list(time_table, "groups", "group", grupos, soluc, "CODGRUPO");
}

std::size_t write_members(pugi::xml_node time_table, DbfTable& profesor, DbfTable& soluc) {
    return write_id_list(time_table, "members", "member", profesor, soluc, "PROF");
}

std::size_t write_activities(pugi::xml_node time_table, DbfTable& nom_asg, DbfTable& soluc,
                             ActivityLists& lists) {
    pugi::xml_node activities = append_element(time_table, "activities");
    SolutionCodes used(soluc, "ASIG");
    FieldReader code(nom_asg, "COD");
    FieldReader nombre(nom_asg, "NOMBRE");
    FieldReader idsaga(nom_asg, "IDSAGA");
    int k = 1;  // counts only the activities written, so the ids have no gaps
    for (nom_asg.first(); !nom_asg.eof(); nom_asg.next()) {
        if (!used.occurs(code.text()))
            continue;
        const Text8 id = "a" + int_to_text(k);
        pugi::xml_node activity = append_element(activities, "activity");
        set_text_attribute(activity, "id", id);
        lists.activity_ids.add(id);
        set_text_attribute(activity, "name", nombre.text());
        const Text8 subject = idsaga.text();
        set_text_attribute(activity, "subject", subject);
        lists.subject_ids.add(subject);
        ++k;
    }
    return static_cast<std::size_t>(k - 1);
}

} // namespace enlazor
