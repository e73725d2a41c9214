#include "import_fixture.h"

#include "storage/text.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <stdlib.h>

namespace enlazor::testing {

namespace fs = std::filesystem;

namespace {

const std::vector<FieldDef> kGroupFields = {
    {"ABREV", FieldType::Text, 4},   {"TURNO", FieldType::Text, 1},  {"NIVEL", FieldType::Text, 5},
    {"CURSO", FieldType::Text, 3},   {"GRUPO", FieldType::Text, 2},  {"IDSAGA", FieldType::Text, 60},
    {"DESCRIP", FieldType::Text, 40},
};
const std::vector<FieldDef> kTeacherFields = {
    {"ABREV", FieldType::Text, 4},   {"NOMBRE", FieldType::Text, 40}, {"DEPART", FieldType::Text, 40},
    {"DNI", FieldType::Integer, 0},  {"IDSAGA", FieldType::Text, 60},
};
const std::vector<FieldDef> kSubjectFields = {
    {"COD", FieldType::Text, 4},     {"CODLARGO", FieldType::Text, 8}, {"NOMBRE", FieldType::Text, 40},
    {"IDSAGA", FieldType::Text, 60}, {"HORAS", FieldType::Text, 8},
};
const std::vector<FieldDef> kRoomFields = {
    {"ABREV", FieldType::Text, 4},   {"NOMBRE", FieldType::Text, 40}, {"EDIFICIO", FieldType::Text, 1},
    {"MAXALUM", FieldType::Integer, 0}, {"IDSAGA", FieldType::Text, 60},
};
const std::vector<FieldDef> kDayPeriodFields = {
    {"DIHO", FieldType::Text, 10},     {"CODDIHO", FieldType::Text, 10},  {"DIA", FieldType::Text, 20},
    {"TEXTODIA", FieldType::Text, 20}, {"HORA", FieldType::Text, 8},      {"HORADESDE", FieldType::Text, 8},
    {"HORAHASTA", FieldType::Text, 8}, {"MINUTOS", FieldType::Text, 8},
};

} // namespace

std::vector<FieldDef> solution_fields(SolutionLayout layout) {
    std::vector<FieldDef> fields = {
        {"CODGRUPO", FieldType::Text, 6}, {"PROF", FieldType::Text, 6},
        {"ASIG", FieldType::Text, 6},     {"AULA", FieldType::Text, 6},
    };
    if (layout == SolutionLayout::Characters) {
        fields.push_back({"DIA", FieldType::Text, 3});
        fields.push_back({"HORA", FieldType::Text, 10});
        fields.push_back({"SESIONES", FieldType::Text, 10});
    } else {
        fields.push_back({"DIA", FieldType::Integer});
        fields.push_back({"HORA", FieldType::Float});
        fields.push_back({"SESIONES", FieldType::Float});
    }
    return fields;
}

void write_solution_table(const fs::path& dir, const std::vector<Lesson>& lessons,
                          SolutionLayout layout) {
    std::vector<std::vector<std::string>> rows;
    for (const Lesson& l : lessons)
        rows.push_back({l.group, l.teacher, l.subject, l.room, l.day, l.hora, l.sesiones});
    write_table(dir, "SOLUC.DBF", solution_fields(layout), rows);
}

namespace {

const char* kDefaultDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<document>\n"
    "  <subjects><subject id=\"SB-1\" name=\"Lengua\" hours=\"4\"/></subjects>\n"
    "</document>\n";

} // namespace

ImportFixture::ImportFixture()
    : exchange_(Settings{dir_.path() / "HTEMP", '.'}) {
    fs::create_directories(exchange_dir());
}

void ImportFixture::write_groups(const std::vector<CatalogRecord>& records) {
    std::vector<std::vector<std::string>> rows;
    for (const CatalogRecord& r : records)
        rows.push_back({r.code, "M", "ESO", "1", "A", r.idsaga, "1 ESO A ()"});
    write_table(exchange_dir(), "GRUPOST.DBF", kGroupFields, rows);
}

void ImportFixture::write_teachers(const std::vector<CatalogRecord>& records) {
    std::vector<std::vector<std::string>> rows;
    for (const CatalogRecord& r : records)
        rows.push_back({r.code, "Nombre", "", "", r.idsaga});
    write_table(exchange_dir(), "PROFT.DBF", kTeacherFields, rows);
}

void ImportFixture::write_subjects(const std::vector<CatalogRecord>& records) {
    std::vector<std::vector<std::string>> rows;
    for (const CatalogRecord& r : records)
        rows.push_back({r.code, r.code, r.name, r.idsaga, "4"});
    write_table(exchange_dir(), "ASIGNOMT.DBF", kSubjectFields, rows);
}

void ImportFixture::write_rooms(const std::vector<CatalogRecord>& records) {
    std::vector<std::vector<std::string>> rows;
    for (const CatalogRecord& r : records)
        rows.push_back({r.code, "Aula", "", "", r.idsaga});
    write_table(exchange_dir(), "AULAT.DBF", kRoomFields, rows);
}

void ImportFixture::write_day_periods(const std::vector<DayPeriod>& records) {
    std::vector<std::vector<std::string>> rows;
    for (const DayPeriod& r : records)
        rows.push_back({"", "", r.dia, r.textodia, r.hora, r.from, r.to, "55"});
    write_table(exchange_dir(), "DIASHORAST.DBF", kDayPeriodFields, rows);
}

void ImportFixture::write_solution(const std::vector<Lesson>& lessons, SolutionLayout layout) {
    write_solution_table(exchange_dir(), lessons, layout);
}

void ImportFixture::write_empty_tables() {
    write_groups({});
    write_teachers({});
    write_subjects({});
    write_rooms({});
    write_day_periods({});
    write_solution({});
}

void ImportFixture::write_document(const std::string& xml) {
    std::ofstream out(saga_path(), std::ios::binary | std::ios::trunc);
    out << (xml.empty() ? std::string(kDefaultDocument) : xml);
}

std::string ImportFixture::document_bytes() const {
    return read_file(saga_path());
}

ImportSummary ImportFixture::import() {
    return run_import(saga_path(), exchange_);
}

pugi::xml_node ImportFixture::time_table() {
    const pugi::xml_parse_result parsed = saved_.load_file(saga_path().c_str());
    EXPECT_TRUE(parsed) << parsed.description();
    return saved_.document_element().last_child().child("time-table");
}

std::vector<pugi::xml_node> ImportFixture::inputs() {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node input : time_table().child("inputs").children("input"))
        found.push_back(input);
    return found;
}

std::string attributes_of(pugi::xml_node element) {
    std::string text;
    for (pugi::xml_attribute a : element.attributes()) {
        if (!text.empty())
            text += ' ';
        text += std::string(a.name()) + "=" + a.value();
    }
    return text;
}

std::vector<std::string> attribute_values(pugi::xml_node list, const char* attribute) {
    std::vector<std::string> values;
    for (pugi::xml_node item : list.children())
        if (item.type() == pugi::node_element)
            values.push_back(item.attribute(attribute).value());
    return values;
}

std::vector<std::string> child_names(pugi::xml_node element) {
    std::vector<std::string> names;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_element)
            names.push_back(child.name());
    return names;
}

} // namespace enlazor::testing
