#include "export/table_setup.h"

namespace enlazor {

void recreate_table(DbfTable& table, const std::string& table_stem,
                    const std::vector<FieldLayout>& fields, DbfTable::Flush flush) {
    const std::filesystem::path directory = table.file_path().parent_path();
    delete_file(directory / (table_stem + ".DBF"));
    delete_file(directory / (table_stem + ".MDX"));
    table.clear_fields();
    for (const FieldLayout& field : fields)
        table.add_field(field.name, field.type, field.size);
    table.create(flush);
}

} // namespace enlazor
