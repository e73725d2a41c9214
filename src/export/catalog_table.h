// The four catalog tables the export builds from one section of the
// document each (subjects, teachers, rooms, groups): what one element
// becomes, and the one loop that writes them all.
#pragma once

#include "export/codes.h"
#include "export/export_observer.h"
#include "export/table_setup.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace enlazor {

// One field's value in a record.
struct FieldValue {
    const char* field;
    Text8 value;
};

// The fields a builder assigns in one record, in the order it assigns them.
// Fields left out stay empty.
using Record = std::vector<FieldValue>;

// A catalog table and the section of the document it is made from.
struct CatalogTable {
    const char* table;    // "ASIGNOMT": the file's stem and the table's name
    const char* section;  // "subjects": /document/<section>/<item>
    const char* item;     // "subject"
    std::vector<FieldLayout> fields;  // the layout, in Horalis's order
    // What one element becomes. `codes` is the table's used-code list, so
    // the elements must come in document order, each exactly once.
    Record (*record)(pugi::xml_node element, UsedCodes& codes, ExportObserver& observer);
};

extern const CatalogTable kSubjectTable;  // ASIGNOMT
extern const CatalogTable kTeacherTable;  // PROFT
extern const CatalogTable kRoomTable;     // AULAT
extern const CatalogTable kGroupTable;    // GRUPOST

// Derives the record of every element of the catalog's section, in
// document order, with one used-code list for the table, and hands each to
// `visit`. The builder writes them; the check keeps them in memory.
void derive_records(const XmlDocument& document, const CatalogTable& catalog,
                    ExportObserver& observer,
                    const std::function<void(pugi::xml_node, const Record&)>& visit);

// The positions of the fields a builder names, each looked up in the table
// once: every record of a builder names its fields with the same literals,
// so a known name pointer gives its position without comparing text.
class FieldPositions {
public:
    explicit FieldPositions(const DbfTable& table) : table_(table) {}
    int operator()(const char* field);

private:
    const DbfTable& table_;
    std::vector<std::pair<const char*, int>> known_;
};

// Assigns every field of `record` in the current appended record of `table`.
void assign_fields(DbfTable& table, const Record& record, FieldPositions& positions);

// Rebuilds the table in the exchange directory with one record per element
// of its section, in document order, and returns the number written.
std::size_t build_catalog_table(const XmlDocument& document, const Exchange& exchange,
                                const CatalogTable& catalog, ExportObserver& observer);

// The records of every element of the catalog's section, derived in memory
// without touching the exchange directory, to be written later.
std::vector<Record> derive_catalog(const XmlDocument& document, const CatalogTable& catalog,
                                   ExportObserver& observer);

// Rebuilds the table from records derived ahead, as build_catalog_table
// would from the document.
std::size_t write_catalog_table(const Exchange& exchange, const CatalogTable& catalog,
                                const std::vector<Record>& records);

} // namespace enlazor
