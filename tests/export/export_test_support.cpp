#include "export_test_support.h"

#include "storage/xml_document.h"


#include <cstdlib>
#include <stdexcept>

namespace enlazor::testing {

std::vector<Text8> TableContents::column(const std::string& field) const {
    std::size_t index = 0;
    while (index < fields.size() && fields[index].name != field)
        ++index;
    if (index == fields.size())
        throw std::runtime_error("no field " + field);
    std::vector<Text8> values;
    for (const auto& row : rows)
        values.push_back(row[index]);
    return values;
}

TableContents read_table(const std::filesystem::path& directory, const std::string& table,
                         char separator) {
    DbfTable dbf(directory, table + ".DBF", OpenMode::Shared, separator);
    dbf.open();
    TableContents contents;
    contents.fields = dbf.fields();
    for (dbf.first(); !dbf.eof(); dbf.next()) {
        std::vector<Text8> row;
        for (int i = 0; i < static_cast<int>(contents.fields.size()); ++i)
            row.push_back(dbf.text(i));
        contents.rows.push_back(std::move(row));
    }
    dbf.close();
    return contents;
}

ExportSummary export_xml(std::string_view xml, const std::filesystem::path& directory,
                         char separator) {
    XmlDocument document;
    document.load_from_memory(xml);
    Exchange exchange(Settings{directory, separator});
    return export_tables(document, exchange);
}

std::string saga_document(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>" + std::string(body) +
           "</document>\n";
}

Text8 cp1252(std::string_view utf8) { return to_8bit_from_utf8(utf8); }

std::filesystem::path source_file(const std::string& relative) {
    return std::filesystem::path(ENLAZOR_SOURCE_DIR) / relative;
}

} // namespace enlazor::testing
