#include "support/tables.h"

#include "storage/dbf_table.h"
#include "storage/text.h"

namespace enlazor::test_support {

void write_table(const std::filesystem::path& dir, const std::string& table_name, const std::vector<FieldDef>& fields,
                 const std::vector<std::vector<std::string>>& rows, char decimal_separator) {
    DbfTable table(dir, table_name, OpenMode::Shared, decimal_separator);
    table.clear_fields();
    for (const FieldDef& field : fields)
        table.add_field(field.name, field.type, field.size);
    table.create();
    table.open();
    for (const auto& row : rows) {
        table.append();
        for (std::size_t i = 0; i < fields.size() && i < row.size(); ++i)
            if (!row[i].empty())
                table.set_text(fields[i].name, to_8bit_from_utf8(row[i]));
        table.post();
    }
    table.close();
}

} // namespace enlazor::test_support
