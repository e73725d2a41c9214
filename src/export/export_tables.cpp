#include "export/export_tables.h"

#include "export/catalog_table.h"
#include "export/table_builders.h"
#include "platform/direction_lock.h"
#include "base/error.h"

#include <exception>
#include <future>
#include <optional>

namespace enlazor {

ExportSummary export_tables(const XmlDocument& document, Exchange& exchange) {
    // A direction that failed earlier may have left the exchange's table
    // objects open. On Linux an open object keeps reading the file it opened
    // even after the builders below delete and re-create that table (on
    // Windows the delete itself would fail), so the assignment builder would
    // resolve codes against the previous export. Closing them first makes
    // it open the tables just written.
    exchange.close_all();

    // What needs no catalog already written is read from the document on
    // another core while the first catalogs are built: the groups' records,
    // then the assignments' ids. Reading changes nothing on disk, so the
    // tables are still rebuilt one after the other, and a failure of either
    // reading is raised at the turn of the table it feeds: the same tables
    // are left rebuilt. Where no thread can start, it is read when the
    // groups' turn comes.
    struct ReadAhead {
        std::vector<Record> groups;
        std::optional<AssignedIds> assigned_ids;
        std::exception_ptr assigned_ids_failure;
    };
    std::future<ReadAhead> ahead = std::async(std::launch::async | std::launch::deferred, [&document] {
        ReadAhead read;
        read.groups = derive_catalog(document, kGroupTable, ignore_export_findings());
        try {
            read.assigned_ids.emplace(document);
        } catch (...) {
            read.assigned_ids_failure = std::current_exception();
        }
        return read;
    });

    ExportSummary summary;
    summary.tables.push_back({"ASIGNOMT", build_subject_table(document, exchange)});
    summary.tables.push_back({"PROFT", build_teacher_table(document, exchange)});
    summary.tables.push_back({"AULAT", build_room_table(document, exchange)});
    const ReadAhead read = ahead.get();
    summary.tables.push_back({"GRUPOST", write_catalog_table(exchange, kGroupTable, read.groups)});
    if (read.assigned_ids_failure)
        std::rethrow_exception(read.assigned_ids_failure);
    summary.tables.push_back({"ASIGT", build_assignment_table(*read.assigned_ids, exchange)});
    summary.tables.push_back({"DIASHORAST", build_day_period_table(exchange)});
    return summary;
}

ExportSummary run_export(const std::filesystem::path& saga_path, Exchange& exchange) {
    if (saga_path.empty() || !file_exists(saga_path))
        throw MissingFile();
    // Held until the tables are rebuilt and their directory entries are on
    // disk, so "Proceso finalizado" is only reported for tables that last.
    DirectionLock lock(exchange.directory());
    // The export saves no document, but it is as much a run on it: what an
    // interrupted import left beside the document goes as soon as a run
    // that may change things has started (a refused run changes nothing).
    LeftoverRemoval leftovers = remove_leftover_saves(saga_path);
    XmlDocument document;
    document.load(saga_path, XmlUse::ReadOnly);
    ExportSummary summary = export_tables(document, exchange);
    summary.leftovers = std::move(leftovers);
    lock.flush_directory();
    return summary;
}

} // namespace enlazor
