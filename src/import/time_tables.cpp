// The order of the import: the stages, when each table object opens and
// closes, and the save. The stages themselves only read open tables.
#include "import/time_tables.h"

#include "import/catalog_lists.h"
#include "import/days_stage.h"
#include "import/inputs_stage.h"
#include "platform/direction_lock.h"
#include "storage/error.h"

namespace enlazor {

ImportSummary build_time_tables(XmlDocument& document, Exchange& exchange,
                                ImportObserver& observer) {
    pugi::xml_node document_element = document.document_element();
    if (!document_element)
        throw Error("El documento SAGA no tiene elemento raíz");
    pugi::xml_node time_table = replace_time_tables_section(document_element);
    ImportSummary summary;

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

    ActivityLists lists;
    exchange.nom_asg().open();
    summary.activities = write_activities(time_table, exchange.nom_asg(), exchange.soluc(), lists);
    exchange.nom_asg().close();

    exchange.profesor().open();
    exchange.aulas().open();
    exchange.nom_asg().open();
    summary.inputs = write_inputs(time_table, exchange, lists, observer);
    exchange.soluc().close();
    exchange.grupos().close();
    exchange.profesor().close();
    exchange.aulas().close();
    exchange.nom_asg().close();
    return summary;
}

ImportSummary write_time_tables(XmlDocument& document, Exchange& exchange,
                                const std::filesystem::path& saga_path) {
    const ImportSummary summary = build_time_tables(document, exchange);
    // The only write to the document file, and an atomic one: on any error
    // before or during it the file keeps its old content.
    document.save(saga_path);
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
    XmlDocument document;
    document.load(saga_path);
    return write_time_tables(document, exchange, saga_path);
}

} // namespace enlazor
