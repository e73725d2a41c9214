// A temporary exchange directory with Horalis tables built directly through
// the table layer (the export's layouts), a SAGA document file, and readers
// of what the import wrote, parsed independently with pugixml.
#pragma once

#include "import/time_tables.h"
#include "storage/dbf_table.h"
#include "base/error.h"
#include "storage/exchange.h"
#include "support/files.h"
#include "support/tables.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace enlazor::testing {

using test_support::FieldDef;
using test_support::read_file;
using test_support::TempDir;
using test_support::write_table;


// One lesson of the solution, every value as text ("" leaves a field blank).
struct Lesson {
    std::string group, teacher, subject, room, day, hora, sesiones;
};

// How Horalis stored SOLUC's fields.
enum class SolutionLayout { Characters, Numbers };

// SOLUC's fields as Horalis may store them, and a SOLUC of `lessons`.
std::vector<FieldDef> solution_fields(SolutionLayout layout);
void write_solution_table(const std::filesystem::path& dir, const std::vector<Lesson>& lessons,
                          SolutionLayout layout = SolutionLayout::Characters);

// ABREV/COD and IDSAGA of a catalog record; `name` for ASIGNOMT's NOMBRE.
struct CatalogRecord {
    std::string code, idsaga, name = {};
};

// One DIASHORAST record.
struct DayPeriod {
    std::string dia, hora, textodia, from, to;
};

// The files of one import: the exchange directory, its table objects and the
// SAGA document. Values in the tables and the document are UTF-8 in these
// helpers and stored as the program stores them (Windows-1252 in tables).
class ImportFixture : public ::testing::Test {
protected:
    ImportFixture();

    std::filesystem::path exchange_dir() const { return dir_.path() / "HTEMP"; }
    std::filesystem::path saga_path() const { return dir_.path() / "saga.xml"; }

    void write_groups(const std::vector<CatalogRecord>& records);
    void write_teachers(const std::vector<CatalogRecord>& records);
    void write_subjects(const std::vector<CatalogRecord>& records);
    void write_rooms(const std::vector<CatalogRecord>& records);
    void write_day_periods(const std::vector<DayPeriod>& records);
    void write_solution(const std::vector<Lesson>& lessons,
                        SolutionLayout layout = SolutionLayout::Characters);
    // All six tables, empty.
    void write_empty_tables();

    // The SAGA document; a small default one when `xml` is empty.
    void write_document(const std::string& xml = {});
    std::string document_bytes() const;

    // Runs the import through its public entry point.
    ImportSummary import();
    // The new section's time-table element, from the saved file.
    pugi::xml_node time_table();
    // The inputs/input elements of the saved section.
    std::vector<pugi::xml_node> inputs();

    TempDir dir_;
    Exchange exchange_;  // decimal separator "."

    pugi::xml_document saved_;
};

// "name=value name=value ..." of an element's attributes, in their order.
std::string attributes_of(pugi::xml_node element);

// The values of one attribute over the element children of `list`.
std::vector<std::string> attribute_values(pugi::xml_node list, const char* attribute);

// The names of an element's element children, in order.
std::vector<std::string> child_names(pugi::xml_node element);

} // namespace enlazor::testing
