// The exported small school read by another dBase reader (Python's
// dbfread, through the storage tests' read_with_dbfread.py): every table
// has the layout Horalis expects, the Windows-1252 language driver, and its
// records in place.
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace enlazor::testing {
namespace {

const char* const kPython = "/usr/bin/python3";

// What dbfread makes of the table, as compact JSON.
std::string read_with_dbfread(const std::filesystem::path& table) {
    const std::string command = std::string(kPython) + " '" +
                                source_file("tests/storage/read_with_dbfread.py").string() +
                                "' '" + table.string() + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return "cannot run " + command;
    std::string output;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe.get()))
        output.append(buffer, n);
    return output;
}

struct TableAsRead {
    const char* table;
    const char* json;
};

// Fields left without value read as null, not as 0 or blanks.
const TableAsRead kSmallSchoolTables[] = {
    TableAsRead{"ASIGNOMT",
        R"j({"encoding":"cp1252","fields":[["COD","C",4,0],["CODLARGO","C",8,0],)j"
        R"j(["NOMBRE","C",40,0],["IDSAGA","C",60,0],["HORAS","C",8,0]],"records":[)j"
        R"j(["A101","Lengu","Lengua castellana","SB-A101","4"],)j"
        R"j(["A102","Lengu1","Lengua extranjera","SB-A102","2.5"],)j"
        R"j(["T900","Tutor","Tutoria","SB-T900","4"]]})j"},
    TableAsRead{"PROFT",
        R"j({"encoding":"cp1252","fields":[["ABREV","C",4,0],["NOMBRE","C",40,0],)j"
        R"j(["DEPART","C",40,0],["DNI","N",11,0],["IDSAGA","C",60,0]],"records":[)j"
        R"j(["ABG","Alfa Beta Gamma","",null,"PR-01"],)j"
        R"j(["ABG1","Alfa Bravo Golf","",null,"PR-02"],)j"
        R"j(["DE","Delta Eco","",null,"PR-03"]]})j"},
    TableAsRead{"AULAT",
        R"j({"encoding":"cp1252","fields":[["ABREV","C",4,0],["NOMBRE","C",40,0],)j"
        R"j(["EDIFICIO","C",1,0],["MAXALUM","N",11,0],["IDSAGA","C",60,0]],"records":[)j"
        R"j(["A1","Aula 12","",null,"LC-1"],["A11","Aula 14","",null,"LC-2"],)j"
        R"j(["A12","Aula 15","",null,"LC-3"],["G","Gimnasio","",null,"LC-4"]]})j"},
    TableAsRead{"GRUPOST",
        R"j({"encoding":"cp1252","fields":[["ABREV","C",4,0],["TURNO","C",1,0],)j"
        R"j(["NIVEL","C",5,0],["CURSO","C",3,0],["GRUPO","C",2,0],["IDSAGA","C",60,0],)j"
        R"j(["DESCRIP","C",40,0]],"records":[)j"
        R"j(["1EA","M","ESO","1","A","GR-1","1 ESO A (Primero A)"],)j"
        R"j(["2BB","T","BACH","2","B","GR-2","2 BACH B (Segundo B)"]]})j"},
    TableAsRead{"ASIGT",
        R"j({"encoding":"cp1252","fields":[["CASIG","C",4,0],["CPROF","C",4,0],)j"
        R"j(["CGRUP","C",4,0],["CAULA","C",4,0],["TURNO","C",1,0],["NIVEL","C",5,0],)j"
        R"j(["CURSO","C",3,0],["GRUPO","C",2,0],["HORAS","N",20,10],["SESIONES","C",20,0]],)j"
        R"j("records":[["A101","ABG","1EA","","M","ESO","1","A",4.0,"1111"],)j"
        R"j(["A102","DE","1EA","","M","ESO","1","A",2.5,"111"],)j"
        R"j(["T900","","2BB","","T","BACH","2","B",4.0,"1111"]]})j"},
    TableAsRead{"DIASHORAST",
        R"j({"encoding":"cp1252","fields":[["DIHO","C",10,0],["CODDIHO","C",10,0],)j"
        R"j(["DIA","C",20,0],["TEXTODIA","C",20,0],["HORA","C",8,0],["HORADESDE","C",8,0],)j"
        R"j(["HORAHASTA","C",8,0],["MINUTOS","C",8,0]],"records":[]})j"}};

TEST(IndependentReader, ReadsEveryExportedTableWithItsLayoutAndRecords) {
    if (!std::filesystem::exists(kPython))
        GTEST_SKIP() << kPython << " is not installed";
    TempDir dir;
    Exchange exchange(Settings{dir.path(), ','});
    run_export(source_file("tests/export/fixtures/small_school.xml"), exchange);
    for (const TableAsRead& expected : kSmallSchoolTables)
        EXPECT_EQ(read_with_dbfread(dir.path() / (std::string(expected.table) + ".DBF")),
                  expected.json)
            << expected.table;
}

} // namespace
} // namespace enlazor::testing
