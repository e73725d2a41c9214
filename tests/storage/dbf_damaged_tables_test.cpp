// Damaged and hostile table files: each gives the engine's clear error (or
// reads as far as its data goes), never a crash, a hang or a huge allocation.
#include "dbf_test_support.h"
#include "support/dbase_dialects.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace enlazor {
namespace {

using test::RawTable;
using test::TempDir;

RawTable sample() {
    RawTable raw;
    raw.fields = {{"COD", 'C', 4}, {"N", 'N', 5, 0}};
    raw.records = {test::raw_record({"AB  ", "   12"}), test::raw_record({"CD  ", "   34"})};
    return raw;
}

void put_u16(std::string& bytes, std::size_t offset, unsigned value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8 & 0xFF);
}

// The same in dBase 7's layout, with field properties after the terminator.
std::string level7_sample() {
    test_support::DialectTable raw(0x04, 0, "DB850ES0", false, std::string(20, '\x01'));
    raw.fields = {{"CODIGO_DEL_GRUPO", 'C', 4}, {"N", 'I', 4}, {"HORA", 'O', 8}};
    raw.records = {{"AB", test_support::dbase7_integer(12), test_support::dbase7_double(2.5)},
                   {"CD", test_support::dbase7_integer(-3), test_support::dbase7_double(-1)}};
    return raw.bytes();
}

struct Damage {
    const char* what;
    std::function<std::string()> bytes;
};

const Damage kCorruptHeaders[] = {
    {"empty file", [] { return std::string(); }},
    {"shorter than a header", [] { return sample().bytes().substr(0, 20); }},
    {"cut inside the descriptors", [] { return sample().bytes().substr(0, 50); }},
    {"no fields",
     [] {
         RawTable raw = sample();
         raw.fields.clear();
         raw.records.clear();
         return raw.bytes();
     }},
    {"header length 0", [] { std::string b = sample().bytes(); put_u16(b, 8, 0); return b; }},
    {"header length beyond the file",
     [] { std::string b = sample().bytes(); put_u16(b, 8, 60000); return b; }},
    {"header length smaller than the descriptors",
     [] { std::string b = sample().bytes(); put_u16(b, 8, 32 + 32 + 16); return b; }},
    {"terminator outside the header",
     [] { std::string b = sample().bytes(); put_u16(b, 8, 32 + 64); return b; }},
    {"record length 0", [] { std::string b = sample().bytes(); put_u16(b, 10, 0); return b; }},
    {"record length larger than the fields",
     [] { std::string b = sample().bytes(); put_u16(b, 10, 11); return b; }},
    {"record length smaller than the fields",
     [] { std::string b = sample().bytes(); put_u16(b, 10, 9); return b; }},
    {"zero width field",
     [] {
         RawTable raw = sample();
         raw.fields = {{"A", 'C', 0}, {"B", 'C', 9}};
         return raw.bytes();
     }},
    {"garbage", [] { return std::string(4000, '\x5A'); }},
    {"dBase 7 header ending inside its descriptors",
     [] { std::string b = level7_sample(); put_u16(b, 8, 68 + 48 + 20); return b; }},
    {"dBase 7 header shorter than its driver name",
     [] { std::string b = level7_sample(); put_u16(b, 8, 50); return b; }},
    {"dBase 7 record length beyond its fields",
     [] { std::string b = level7_sample(); put_u16(b, 10, 18); return b; }},
};

TEST(DamagedTables, DamagedHeadersAreReportedAsCorrupt) {
    TempDir dir;
    for (const Damage& damage : kCorruptHeaders) {
        SCOPED_TRACE(damage.what);
        test::write_bytes(dir / "ASIGT.DBF", damage.bytes());
        DbfTable table(dir.path(), "ASIGT.DBF", OpenMode::Exclusive, '.');
        EXPECT_EQ(test::error_of([&] { table.open(); }),
                  "Corrupt table/index header.\nTable: " + (dir / "ASIGT.DBF").string());
        EXPECT_FALSE(table.is_open());
    }
}

TEST(DamagedTables, AHugeRecordCountWithoutDataReadsNoRecords) {
    TempDir dir;
    RawTable raw = sample();
    raw.records.clear();
    raw.count = 0xFFFFFFFF;
    test::write_bytes(dir / "ASIGT.DBF", raw.bytes());
    DbfTable table(dir.path(), "ASIGT.DBF", OpenMode::Exclusive, '.');
    table.open();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.record_count(), 0u);
}

// Reads every field of every record every way; only Error may come out.
void read_everything(DbfTable& table) {
    const int count = static_cast<int>(table.fields().size());
    for (table.first(); !table.eof(); table.next()) {
        for (int i = 0; i < count; ++i) {
            try { (void)table.text(i); } catch (const Error&) {}
            try { (void)table.integer(i); } catch (const Error&) {}
            try { (void)table.floating(i); } catch (const Error&) {}
            const std::string name = table.fields()[static_cast<std::size_t>(i)].name;
            try { (void)table.text(name); } catch (const Error&) {}
        }
    }
}

// A table of every field kind, written by the table layer itself.
std::string well_formed_table(const TempDir& dir) {
    DbfTable maker(dir.path(), "SEED.DBF", OpenMode::Shared, ',');
    maker.add_field("TEXTO", FieldType::Text, 12);
    maker.add_field("ENTERO", FieldType::Integer);
    maker.add_field("REAL", FieldType::Float);
    maker.add_field("UNO", FieldType::Text, 1);
    maker.create();
    maker.open();
    for (int i = 0; i < 12; ++i) {
        maker.append();
        maker.set_text("TEXTO", "T\xE9xto " + std::to_string(i));
        maker.set_integer("ENTERO", i * 1000 - 5000);
        if (i % 3)
            maker.set_float("REAL", i / 7.0);
        maker.set_text("UNO", std::to_string(i % 10));
        maker.post();
    }
    maker.close();
    return test::read_file(dir / "SEED.DBF");
}

TEST(DamagedTables, RandomlyDamagedFilesNeverGiveAnythingButError) {
    TempDir dir;
    const std::string seed = well_formed_table(dir);
    const std::string foreign = [] {
        RawTable raw = sample();
        raw.fields.push_back({"L", 'L', 1});
        raw.fields.push_back({"D", 'D', 8});
        raw.fields.push_back({"F", 'F', 6, 2});
        for (std::string& record : raw.records)
            record += "T20240101  1.25";
        return raw.bytes();
    }();

    std::mt19937 random(20240917);
    auto below = [&](std::size_t n) -> std::size_t {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    // Visual FoxPro's binary types behind its backlink.
    const std::string visual_foxpro = [] {
        test_support::DialectTable raw(0x30, 0x02);
        raw.fields = {{"DIA", 'I', 4}, {"CUANDO", 'T', 8}, {"PRECIO", 'Y', 8}, {"NOTA", 'M', 4}};
        raw.records = {{test_support::foxpro_integer(3),
                        test_support::foxpro_date_time(2024, 9, 1, 8, 0, 0),
                        test_support::foxpro_currency(12345), test_support::foxpro_integer(7)}};
        return raw.bytes();
    }();
    const std::string seeds[] = {foreign, seed, level7_sample(), seed, visual_foxpro, seed};

    int opened = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = seeds[round % 6];
        switch (round % 5) {
        case 0:  // cut anywhere
            bytes.resize(below(bytes.size() + 1));
            break;
        case 1:  // flipped bits, anywhere
            for (int flips = 1 + static_cast<int>(below(8)); flips > 0; --flips)
                bytes[below(bytes.size())] ^= static_cast<char>(1 << below(8));
            break;
        case 2:  // random bytes in the header and descriptors
            for (int changes = 1 + static_cast<int>(below(4)); changes > 0; --changes)
                bytes[below(std::min<std::size_t>(bytes.size(), 32 + 32 * 5))] =
                    static_cast<char>(below(256));
            break;
        case 3:  // random bytes in the records
            for (int changes = 1 + static_cast<int>(below(30)); changes > 0; --changes)
                bytes[below(bytes.size())] = static_cast<char>(below(256));
            break;
        default:  // garbage of any length
            bytes.resize(below(600));
            for (char& c : bytes)
                c = static_cast<char>(below(256));
        }
        test::write_bytes(dir / "FUZZ.DBF", bytes);
        DbfTable table(dir.path(), "FUZZ.DBF", OpenMode::Exclusive, round % 3 ? ',' : '.');
        try {
            table.open();
        } catch (const Error&) {
            continue;
        }
        ++opened;
        read_everything(table);
        table.close();
        ASSERT_EQ(test::read_file(dir / "FUZZ.DBF"), bytes) << "reading changed the file";
    }
    EXPECT_GT(opened, 500);  // the damage left many files readable, so reading was exercised
}

} // namespace
} // namespace enlazor
