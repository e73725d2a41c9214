// The order of the import: the stages, when each table object opens and
// closes, and the save. The stages themselves only read open tables.
#include "import/time_tables.h"

#include "import/catalog_lists.h"
#include "import/days_stage.h"
#include "import/inputs_stage.h"
#include "import/section_nodes.h"
#include "platform/direction_lock.h"
#include "base/error.h"

namespace enlazor {

namespace {

// Everything before the inputs: the section replaced, its days, groups,
// members and activities written. Leaves SOLUC, GRUPOST, PROFT, AULAT and
// ASIGNOMT open for the inputs, and returns the time-table element.
pugi::xml_node write_up_to_inputs(XmlDocument& document, Exchange& exchange, ImportObserver& observer,
                                  ImportSummary& summary, ActivityLists& lists) {
    pugi::xml_node document_element = document.document_element();
    if (!document_element)
        throw Error("El documento SAGA no tiene elemento raíz");
    pugi::xml_node time_table = replace_time_tables_section(document_element);

    exchange.dias_horas().open();
    const DaysWritten days = write_days(time_table, exchange.dias_horas(), observer);
    summary.days = days.days;
    summary.intervals = days.intervals;
    exchange.dias_horas().close();

    // SOLUC and GRUPOST stay open from here to the end of the inputs.
    exchange.grupos().open();
    exchange.soluc().open();
    summary.groups = write_groups(time_table, exchange.grupos(), exchange.soluc());

    exchange.profesor().open();
    summary.members = write_members(time_table, exchange.profesor(), exchange.soluc());
    exchange.profesor().close();

    exchange.nom_asg().open();
    summary.activities = write_activities(time_table, exchange.nom_asg(), exchange.soluc(), lists);
    exchange.nom_asg().close();

    exchange.profesor().open();
    exchange.aulas().open();
    exchange.nom_asg().open();
    return time_table;
}

void close_input_tables(Exchange& exchange) {
    exchange.soluc().close();
    exchange.grupos().close();
    exchange.profesor().close();
    exchange.aulas().close();
    exchange.nom_asg().close();
}

} // namespace

ImportSummary build_time_tables(XmlDocument& document, Exchange& exchange,
                                ImportObserver& observer) {
    ImportSummary summary;
    ActivityLists lists;
    const pugi::xml_node time_table = write_up_to_inputs(document, exchange, observer, summary, lists);
    summary.inputs = write_inputs(time_table, exchange, lists, observer);
    close_input_tables(exchange);
    return summary;
}

ImportSummary write_time_tables(XmlDocument& document, Exchange& exchange,
                                const std::filesystem::path& saga_path) {
    ImportSummary summary;
    ActivityLists lists;
    const pugi::xml_node time_table =
        write_up_to_inputs(document, exchange, ignore_import_findings(), summary, lists);
    // The inputs, by far the largest part of the section, are made while the
    // document is saved and go straight into the file, so the section is
    // never held in memory whole.
    bool inputs_made = false;
    document.stream_children_on_save(append_element(time_table, "inputs"), [&](const auto& write_input) {
        summary.inputs = stream_inputs(exchange, lists, ignore_import_findings(), write_input);
        inputs_made = true;
    });
    // The inputs' maker refers to this call's lists; no later save may run it.
    struct StopStreaming {
        XmlDocument& document;
        ~StopStreaming() { document.stream_children_on_save({}, {}); }
    } stop_streaming{document};
    // The only write to the document file, and an atomic one: on any error
    // before or during it the file keeps its old content. An error of the
    // inputs leaves the tables open where it arose; an error of the file
    // comes after all inputs were made, and the tables are closed first.
    try {
        document.save(saga_path);
    } catch (const Error&) {
        if (inputs_made)
            close_input_tables(exchange);
        throw;
    }
    close_input_tables(exchange);
    return summary;
}

ImportSummary run_import(const std::filesystem::path& saga_path, Exchange& exchange) {
    // A failed earlier direction may have left table objects open, and an
    // open object still reads the table as it was then, not as Horalis has
    // since rewritten it: start from closed objects.
    exchange.close_all();
    if (!file_exists(saga_path))
        throw MissingFile();
    // Taken before the load, so an import never works from a document or
    // tables that another direction is still changing.
    DirectionLock lock(exchange.directory());
    // Before this run's own save, whose temporary file it could not take
    // for a leftover anyway: that one is held.
    LeftoverRemoval leftovers = remove_leftover_saves(saga_path);
    XmlDocument document;
    document.load(saga_path);
    ImportSummary summary = write_time_tables(document, exchange, saga_path);
    summary.leftovers = std::move(leftovers);
    return summary;
}

} // namespace enlazor
