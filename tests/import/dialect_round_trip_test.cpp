// SOLUC and DIASHORAST as Horalis's engine may write them, whatever its
// settings: every dBase and FoxPro level, numbers in digits or binary, text
// in Windows ANSI or a DOS code page. The document must come out as from
// the tables of our own dialect, accented day names included.
#include "import_fixture.h"
#include "support/dbase_dialects.h"

#include <algorithm>
#include <fstream>

using namespace enlazor;
using namespace enlazor::testing;
using namespace enlazor::test_support;

namespace {

// How a dialect stores SOLUC's DIA, HORA and SESIONES.
enum class Numbers { Digits, Dbase7Binary, FoxProBinary };

struct Dialect {
    const char* what;
    DialectTable shape;  // level and language driver
    bool dos;            // text in a DOS code page (é and á where 437, 850 and 852 have them)
    Numbers numbers;
};

const std::string kFieldProperties = std::string("\x01\x00\x0A\x00", 4) + std::string(24, '\x05');

const Dialect kDialects[] = {
    {"dBase III+, DOS 850", {0x03, 0x02}, true, Numbers::Digits},
    {"dBase IV with memo and production index, DOS 437", {0x8B, 0x01, "", true}, true, Numbers::Digits},
    {"dBase 7 named DB850ES0", {0x04, 0x00, "DB850ES0", false, kFieldProperties}, true,
     Numbers::Dbase7Binary},
    {"dBase 7 with memo, Windows ANSI", {0x8C, 0x03, "DBWINUS0"}, false, Numbers::Digits},
    {"Visual FoxPro, Windows ANSI", {0x30, 0x03}, false, Numbers::FoxProBinary},
    {"Visual FoxPro with autoincrement, DOS 852", {0x31, 0x64, "", true}, true, Numbers::FoxProBinary},
    {"FoxPro 2, DOS 850", {0xF5, 0x02}, true, Numbers::Digits},
    {"Visual FoxPro with Varchar codes and days, Windows ANSI", {0x32, 0x03}, false, Numbers::FoxProBinary},
};

// Visual FoxPro 9 with Varchar: the codes and day texts as V fields, some
// nullable, so their length and null bits interleave in _NullFlags.
void use_varchar(DialectTable& table, const std::vector<std::string>& fields) {
    if (table.version != 0x32)
        return;
    for (DialectField& field : table.fields) {
        if (std::find(fields.begin(), fields.end(), field.name) == fields.end())
            continue;
        field.type = 'V';
        field.width = 12;
        field.flags = field.name == "PROF" ? 0 : 0x02;
    }
    store_as_varchar(table);
}

// A half session, an unplaced lesson, a fractional period.
struct Placed {
    const char* group;
    int day;
    double hora, sesiones;
};
const Placed kPlaced[] = {{"1A", 3, 3, 0.5}, {"1A", 0, 1, 1}, {"2B", 6, 2.5, 1}, {"2B", 1, 1, 1}};

std::string digits(double value) { return float_to_text(value, '.'); }

DialectTable solution(const Dialect& dialect) {
    DialectTable table = dialect.shape;
    table.fields = {{"CODGRUPO", 'C', 4}, {"PROF", 'C', 4}, {"ASIG", 'C', 4}, {"AULA", 'C', 4}};
    switch (dialect.numbers) {
    case Numbers::Digits:
        table.fields.insert(table.fields.end(), {{"DIA", 'N', 2}, {"HORA", 'F', 6, 2}, {"SESIONES", 'N', 5, 2}});
        break;
    case Numbers::Dbase7Binary:
        table.fields.insert(table.fields.end(), {{"DIA", 'I', 4}, {"HORA", 'O', 8}, {"SESIONES", 'O', 8}});
        break;
    case Numbers::FoxProBinary:
        table.fields.insert(table.fields.end(), {{"DIA", 'I', 4}, {"HORA", 'B', 8, 2}, {"SESIONES", 'Y', 8, 4}});
        break;
    }
    if (table.level7())
        table.fields.push_back({"OBSERVACIONES_DE_LA_SESION", 'C', 30});
    for (const Placed& p : kPlaced) {
        std::vector<std::string> record = {p.group, "ABG", "S1", "A1"};
        switch (dialect.numbers) {
        case Numbers::Digits:
            record.insert(record.end(), {std::to_string(p.day), digits(p.hora), digits(p.sesiones)});
            break;
        case Numbers::Dbase7Binary:
            record.insert(record.end(), {dbase7_integer(p.day), dbase7_double(p.hora), dbase7_double(p.sesiones)});
            break;
        case Numbers::FoxProBinary:
            record.insert(record.end(), {foxpro_integer(p.day), foxpro_double(p.hora),
                                         foxpro_currency(static_cast<std::int64_t>(p.sesiones * 10000))});
            break;
        }
        table.records.push_back(record);
    }
    use_varchar(table, {"CODGRUPO", "PROF", "ASIG"});
    return table;
}

DialectTable day_periods(const Dialect& dialect) {
    DialectTable table = dialect.shape;
    table.fields = {{"DIHO", 'C', 10}, {"CODDIHO", 'C', 10}, {"DIA", 'C', 20}, {"TEXTODIA", 'C', 20},
                    {"HORA", 'C', 8},  {"HORADESDE", 'C', 8}, {"HORAHASTA", 'C', 8}};
    const std::string wednesday = dialect.dos ? "Mi\x82rcoles" : "Mi\xE9rcoles";
    const std::string saturday = dialect.dos ? "S\xA0" "bado" : "S\xE1" "bado";
    table.records = {{"", "", "1", "Lunes", "1", "8:00", "8:55"},
                     {"", "", "3", wednesday, "3", "9:50", "10:45"},
                     {"", "", "6", saturday, "2", "8:55", "9:50"}};
    use_varchar(table, {"DIA", "TEXTODIA", "HORA"});
    return table;
}

class DialectRoundTrip : public ImportFixture {
protected:
    void SetUp() override {
        write_groups({{"1A", "GR-1"}, {"2B", "GR-2"}});
        write_teachers({{"ABG", "PR-1"}});
        write_subjects({{"S1", "SB-1", "Lengua"}});
        write_rooms({{"A1", "LC-1"}});
    }

    // The document from SOLUC and DIASHORAST written by our own table layer.
    std::string from_our_dialect() {
        write_day_periods({{"1", "1", "Lunes", "8:00", "8:55"},
                           {"3", "3", "Miércoles", "9:50", "10:45"},
                           {"6", "2", "Sábado", "8:55", "9:50"}});
        std::vector<Lesson> lessons;
        for (const Placed& p : kPlaced)
            lessons.push_back({p.group, "ABG", "S1", "A1", std::to_string(p.day), digits(p.hora),
                               digits(p.sesiones)});
        write_solution(lessons, SolutionLayout::Numbers);
        write_document();
        import();
        return document_bytes();
    }

    void write_bytes(const std::string& name, const std::string& bytes) {
        std::filesystem::remove(exchange_dir() / name);
        std::ofstream(exchange_dir() / name, std::ios::binary) << bytes;
    }
};

TEST_F(DialectRoundTrip, EveryDialectGivesTheDocumentOfOurOwn) {
    const std::string expected = from_our_dialect();
    ASSERT_NE(expected.find("name=\"Miércoles\""), std::string::npos) << expected;
    ASSERT_NE(expected.find("name=\"Sábado\""), std::string::npos);
    ASSERT_NE(expected.find("interval=\"i5\""), std::string::npos);  // the half session
    for (const Dialect& dialect : kDialects) {
        SCOPED_TRACE(dialect.what);
        write_bytes("SOLUC.DBF", solution(dialect).bytes());
        write_bytes("DIASHORAST.DBF", day_periods(dialect).bytes());
        write_document();
        import();
        EXPECT_EQ(document_bytes(), expected);
    }
}

} // namespace
