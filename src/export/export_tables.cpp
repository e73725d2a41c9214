#include "export/export_tables.h"

#include "export/table_builders.h"
#include "platform/direction_lock.h"
#include "storage/error.h"

#include <future>

namespace enlazor {

ExportSummary export_tables(const XmlDocument& document, Exchange& exchange) {
    // A direction that failed earlier may have left the exchange's table
    // objects open. On Linux an open object keeps reading the file it opened
    // even after the builders below delete and re-create that table (on
    // Windows the delete itself would fail), so the assignment builder would
    // resolve codes against the previous export. Closing them first makes
    // it open the tables just written.
    exchange.close_all();

    // The assignments' ids need no catalog, so they are read from the
    // document on another core while the catalogs are built. The reading
    // changes nothing on disk, so the tables are still rebuilt one after the
    // other and a failure leaves the same ones rebuilt. Where no thread can
    // be started, they are read when the assignment builder asks for them.
    std::future<AssignedIds> assigned_ids =
        std::async(std::launch::async | std::launch::deferred,
                   [&document] { return AssignedIds(document); });

    ExportSummary summary;
    summary.tables.push_back({"ASIGNOMT", build_subject_table(document, exchange)});
    summary.tables.push_back({"PROFT", build_teacher_table(document, exchange)});
    summary.tables.push_back({"AULAT", build_room_table(document, exchange)});
    summary.tables.push_back({"GRUPOST", build_group_table(document, exchange)});
    summary.tables.push_back({"ASIGT", build_assignment_table(assigned_ids.get(), exchange)});
    summary.tables.push_back({"DIASHORAST", build_day_period_table(exchange)});
    return summary;
}

ExportSummary run_export(const std::filesystem::path& saga_path, Exchange& exchange) {
    if (saga_path.empty() || !file_exists(saga_path))
        throw MissingFile();
    // Held until the tables are rebuilt and their directory entries are on
    // disk, so "Proceso finalizado" is only reported for tables that last.
    DirectionLock lock(exchange.directory());
    XmlDocument document;
    document.load(saga_path, XmlUse::ReadOnly);
    ExportSummary summary = export_tables(document, exchange);
    lock.flush_directory();
    return summary;
}

} // namespace enlazor
