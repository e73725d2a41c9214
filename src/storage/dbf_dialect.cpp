#include "storage/dbf_dialect.h"

#include <algorithm>
#include <cstdio>

namespace enlazor::dbf {

namespace {

struct Level {
    unsigned char version;
    const char* name;
};

constexpr Level kLevels[] = {
    {0x02, "FoxBASE"},
    {0x03, "dBase III+/IV/5"},
    {0x04, "dBase 7"},
    {0x30, "Visual FoxPro"},
    {0x31, "Visual FoxPro con autoincremento"},
    {0x32, "Visual FoxPro con Varchar/Varbinary"},
    {0x43, "dBase IV SQL"},
    {0x63, "dBase IV SQL de sistema"},
    {0x83, "dBase III+ con memo"},
    {0x8B, "dBase IV con memo"},
    {0x8C, "dBase 7 con memo"},
    {0xCB, "dBase IV SQL con memo"},
    {0xF5, "FoxPro 2.x con memo"},
    {0xFB, "FoxBASE con memo"},
};

// The language driver ids of dBase and FoxPro that name a single-byte DOS
// or Windows code page. The Macintosh and the double-byte Asian ones are
// left out: their text cannot be read one byte per character.
struct DriverId {
    unsigned char id;
    unsigned short code_page;
};

constexpr DriverId kDriverIds[] = {
    {0x01, 437},  {0x02, 850},  {0x03, 1252}, {0x08, 865},  {0x09, 437},  {0x0A, 850},
    {0x0B, 437},  {0x0D, 437},  {0x0E, 850},  {0x0F, 437},  {0x10, 850},  {0x11, 437},
    {0x12, 850},  {0x14, 850},  {0x15, 437},  {0x16, 850},  {0x17, 865},  {0x18, 437},
    {0x19, 437},  {0x1A, 850},  {0x1B, 437},  {0x1C, 863},  {0x1D, 850},  {0x1F, 852},
    {0x22, 852},  {0x23, 852},  {0x24, 860},  {0x25, 850},  {0x26, 866},  {0x37, 850},
    {0x40, 852},  {0x50, 874},  {0x57, 1252}, {0x58, 1252}, {0x59, 1252}, {0x64, 852},
    {0x65, 866},  {0x66, 865},  {0x67, 861},  {0x6A, 737},  {0x6B, 857},  {0x7C, 874},
    {0x7D, 1255}, {0x7E, 1256}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254}, {0xCB, 1253},
    {0xCC, 1257},
};

// Driver names of the dBase engine that do not spell out their code page
// the way "DB850ES0" does.
struct DriverName {
    const char* name;
    unsigned short code_page;
};

constexpr DriverName kDriverNames[] = {
    {"DB437GR0", 737},  // Greek 437G
    {"ANSIINTL", 1252}, {"ANCZECH", 1250},  {"ANHUNDC", 1250}, {"ANPOLISH", 1250},
    {"ANSISLOV", 1250}, {"ANCYRR", 1251},   {"ANGREEK1", 1253}, {"ANTURK", 1254},
};

// The DOS code pages a "DB<page>xxx" name may spell.
constexpr unsigned short kDosPages[] = {437, 737, 850, 852, 857, 860, 861, 863, 865, 866};

unsigned code_page_of_name(std::string_view name) {
    for (const DriverName& known : kDriverNames)
        if (name == known.name)
            return known.code_page;
    // "DBWINUS0", "DBWINWE0": the dBase drivers of Windows ANSI.
    if (name.substr(0, 5) == "DBWIN")
        return 1252;
    // "DB437US0", "DB850ES0", "DB866RU0": the DOS page in digits.
    if (name.size() >= 5 && name.substr(0, 2) == "DB") {
        unsigned page = 0;
        for (char c : name.substr(2, 3)) {
            if (c < '0' || c > '9')
                return 0;
            page = page * 10 + static_cast<unsigned>(c - '0');
        }
        if (std::find(std::begin(kDosPages), std::end(kDosPages), page) != std::end(kDosPages))
            return page;
    }
    return 0;
}

} // namespace

Family family_of(unsigned char version) {
    switch (version) {
    case 0x30:
    case 0x31:
    case 0x32:
        return Family::VisualFoxPro;
    case 0x02:
    case 0xF5:
    case 0xFB:
        return Family::FoxPro;
    default:
        // Bits 0..2 of dBase's version byte are its level: 4 for dBase 7.
        return (version & 0x07) == 0x04 ? Family::Dbase7 : Family::Dbase;
    }
}

std::string level_name(unsigned char version, bool production_index) {
    std::string name;
    for (const Level& level : kLevels)
        if (level.version == version)
            name = level.name;
    if (name.empty()) {
        char unknown[32];
        std::snprintf(unknown, sizeof unknown, "desconocido (0x%02X)", version);
        name = unknown;
    }
    return production_index ? name + ", con índice de producción" : name;
}

unsigned driver_code_page(unsigned char driver_id, std::string_view driver_name) {
    if (const unsigned by_name = code_page_of_name(driver_name))
        return by_name;
    for (const DriverId& known : kDriverIds)
        if (known.id == driver_id)
            return known.code_page;
    return 0;
}

} // namespace enlazor::dbf
