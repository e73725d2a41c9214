// A small writer of dBase tables as other programs write them: the header
// layouts of every level (dBase III+ to 5, dBase 7, FoxPro, Visual FoxPro),
// language drivers, and the binary field types with their own encodings.
// The tests build their fixtures with it and the fuzzer's seeds come from it.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace enlazor::test_support {

struct DialectField {
    std::string name;  // up to 10 characters, 32 in dBase 7
    char type;
    int width;
    int decimals = 0;
    unsigned char flags = 0;  // Visual FoxPro: 0x01 hidden system field, 0x02 nullable
};

namespace detail {

inline void put(std::string& bytes, std::size_t at, std::size_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i) & 0xFF);
}

inline std::string filled(const DialectField& field, std::string value) {
    const auto width = static_cast<std::size_t>(field.width);
    value.resize(std::min(value.size(), width));
    const std::string blanks(width - value.size(), ' ');
    return field.type == 'N' || field.type == 'F' ? blanks + value : value + blanks;
}

} // namespace detail

struct DialectTable {
    DialectTable() = default;
    DialectTable(unsigned char version, unsigned char driver_id, std::string driver_name = {},
                 bool production_index = false, std::string after_terminator = {})
        : version(version), driver_id(driver_id), driver_name(std::move(driver_name)),
          production_index(production_index), after_terminator(std::move(after_terminator)) {}

    unsigned char version = 0x03;
    unsigned char driver_id = 0x03;   // byte 29
    std::string driver_name;          // dBase 7: bytes 32..63 of the header
    bool production_index = false;    // byte 28
    std::string after_terminator;     // dBase 7's field properties; Visual FoxPro's backlink is added
    std::vector<DialectField> fields;
    // Each record's values, one per field: the stored bytes, filled to the
    // field's width with blanks (numbers to the right) or cut to it.
    std::vector<std::vector<std::string>> records;

    bool level7() const { return (version & 0x07) == 0x04; }
    bool visual_foxpro() const { return version >= 0x30 && version <= 0x32; }

    std::string bytes() const {
        const std::size_t header_size = level7() ? 68 : 32;
        const std::size_t descriptor_size = level7() ? 48 : 32;
        const std::string tail = after_terminator + std::string(visual_foxpro() ? 263 : 0, '\0');
        const std::size_t header_length = header_size + descriptor_size * fields.size() + 1 + tail.size();
        std::size_t record_length = 1;
        for (const DialectField& field : fields)
            record_length += static_cast<std::size_t>(field.width);

        std::string out(header_size, '\0');
        out[0] = static_cast<char>(version);
        out[1] = 124;  // 2024-09-01
        out[2] = 9;
        out[3] = 1;
        detail::put(out, 4, static_cast<std::uint32_t>(records.size()), 4);
        detail::put(out, 8, header_length, 2);
        detail::put(out, 10, record_length, 2);
        out[28] = production_index ? 1 : 0;
        out[29] = static_cast<char>(driver_id);
        if (level7())
            out.replace(32, std::min<std::size_t>(driver_name.size(), 32), driver_name);

        std::size_t displacement = 1;
        for (const DialectField& field : fields) {
            std::string descriptor(descriptor_size, '\0');
            if (level7()) {
                descriptor.replace(0, std::min<std::size_t>(field.name.size(), 32), field.name);
                descriptor[32] = field.type;
                descriptor[33] = static_cast<char>(field.width);
                descriptor[34] = static_cast<char>(field.decimals);
            } else {
                descriptor.replace(0, std::min<std::size_t>(field.name.size(), 10), field.name);
                descriptor[11] = field.type;
                detail::put(descriptor, 12, displacement, 4);  // FoxPro's offset in the record
                descriptor[16] = static_cast<char>(field.width);
                descriptor[17] = static_cast<char>(field.decimals);
                descriptor[18] = static_cast<char>(field.flags);
            }
            displacement += static_cast<std::size_t>(field.width);
            out += descriptor;
        }
        out += '\x0D';
        out += tail;
        for (const std::vector<std::string>& values : records) {
            out += ' ';
            for (std::size_t i = 0; i < fields.size(); ++i)
                out += detail::filled(fields[i], i < values.size() ? values[i] : std::string());
        }
        out += '\x1A';
        return out;
    }

};

// Visual FoxPro's Varchar layout: `table`'s V fields hold values shorter
// than their width as the value, then NULs, then its length in the last
// byte, with their length bit set in a hidden _NullFlags field added at
// the end; bits go field by field, a V field's length bit first, then a
// nullable field's null bit (never set here).
inline void store_as_varchar(DialectTable& table) {
    std::vector<int> length_bit(table.fields.size(), -1);
    int bits = 0;
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        if (table.fields[i].type == 'V')
            length_bit[i] = bits++;
        if (table.fields[i].flags & 0x02)
            ++bits;
    }
    table.fields.push_back({"_NullFlags", '0', (bits + 7) / 8, 0, 0x05});
    for (std::vector<std::string>& record : table.records) {
        record.resize(table.fields.size() - 1);
        std::string flags(static_cast<std::size_t>(table.fields.back().width), '\0');
        for (std::size_t i = 0; i < record.size(); ++i) {
            const auto width = static_cast<std::size_t>(table.fields[i].width);
            if (length_bit[i] < 0 || record[i].size() >= width)
                continue;
            const auto length = record[i].size();
            record[i] += std::string(width - 1 - length, '\0') + static_cast<char>(length);
            flags[static_cast<std::size_t>(length_bit[i] / 8)] |= static_cast<char>(1 << (length_bit[i] % 8));
        }
        record.push_back(flags);
    }
}

// ---- binary values, as each dialect stores them ----

inline std::string little_endian(std::uint64_t value, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

inline std::string big_endian(std::uint64_t value, int count) {
    std::string bytes;
    for (int i = count - 1; i >= 0; --i)
        bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

// Visual FoxPro's I and memo references.
inline std::string foxpro_integer(std::int32_t value) {
    return little_endian(static_cast<std::uint32_t>(value), 4);
}

// Visual FoxPro's B.
inline std::string foxpro_double(double value) {
    return little_endian(std::bit_cast<std::uint64_t>(value), 8);
}

// Visual FoxPro's Y: ten-thousandths in 64 bits.
inline std::string foxpro_currency(std::int64_t ten_thousandths) {
    return little_endian(static_cast<std::uint64_t>(ten_thousandths), 8);
}

// The Julian day number of a Gregorian date.
inline std::int64_t julian_day(int year, int month, int day) {
    const int a = (14 - month) / 12;
    const std::int64_t y = year + 4800 - a;
    const std::int64_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

// Visual FoxPro's T: the Julian day and the milliseconds into it.
inline std::string foxpro_date_time(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t milliseconds = ((hour * 60 + minute) * 60 + second) * 1000;
    return little_endian(static_cast<std::uint64_t>(julian_day(year, month, day)), 4) +
           little_endian(static_cast<std::uint64_t>(milliseconds), 4);
}

// dBase 7's I and +: big-endian with the sign bit inverted.
inline std::string dbase7_integer(std::int32_t value) {
    return big_endian(static_cast<std::uint32_t>(value) ^ 0x80000000u, 4);
}

// dBase 7's O: big-endian, a positive value with its sign bit set, a
// negative one with every bit inverted.
inline std::string dbase7_double(double value) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const std::uint64_t sign = std::uint64_t{1} << 63;
    return big_endian(bits & sign ? ~bits : bits | sign, 8);
}

// dBase 7's @: milliseconds since the start of 1 January of year 1 (day 1),
// stored as its O.
inline std::string dbase7_timestamp(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t days = julian_day(year, month, day) - julian_day(1, 1, 1) + 1;
    const std::int64_t milliseconds = (days * 86400 + (hour * 60 + minute) * 60 + second) * 1000;
    return dbase7_double(static_cast<double>(milliseconds));
}

} // namespace enlazor::test_support
