// DIASHORAST, the school's days and periods. Horalis fills it for the data
// just exported; the export only re-creates it empty, with its layout, so
// every export starts Horalis from a clean day-period table.
#include "export/table_builders.h"
#include "export/table_setup.h"

namespace enlazor {

std::size_t build_day_period_table(const Exchange& exchange) {
    DbfTable table(exchange.directory(), "DIASHORAST.DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, "DIASHORAST",
                   {{"DIHO", FieldType::Text, 10},
                    {"CODDIHO", FieldType::Text, 10},
                    {"DIA", FieldType::Text, 20},
                    {"TEXTODIA", FieldType::Text, 20},
                    {"HORA", FieldType::Text, 8},
                    {"HORADESDE", FieldType::Text, 8},
                    {"HORAHASTA", FieldType::Text, 8},
                    {"MINUTOS", FieldType::Text, 8}});
    return 0;
}

} // namespace enlazor
