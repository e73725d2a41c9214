// Helpers of the table tests: a temporary exchange directory, raw file
// access, and hand-built dBase files as other programs write them.
#pragma once

#include "support/files.h"

#include "storage/dbf_table.h"
#include "base/error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace enlazor::test {

using test_support::read_file;
using test_support::TempDir;

// True when `dir` is on a file system that folds the case of names, as
// Windows' do: there, two names differing in case are one file.
inline bool folds_case(const std::filesystem::path& dir) {
    const std::filesystem::path probe = dir / "case-probe";
    std::ofstream(probe) << "x";
    std::error_code ignored;
    const bool folded = std::filesystem::exists(dir / "CASE-PROBE", ignored);
    std::filesystem::remove(probe, ignored);
    return folded;
}

inline void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    // A new file each time: truncating a written one makes ext4 flush it first.
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    test_support::write_file(path, bytes);
}

inline unsigned byte_at(const std::string& bytes, std::size_t offset) {
    return static_cast<unsigned char>(bytes.at(offset));
}

inline unsigned u16_at(const std::string& bytes, std::size_t offset) {
    return byte_at(bytes, offset) | byte_at(bytes, offset + 1) << 8;
}

inline unsigned u32_at(const std::string& bytes, std::size_t offset) {
    return u16_at(bytes, offset) | u16_at(bytes, offset + 2) << 16;
}

// ---- hand-built tables ----

struct RawField {
    std::string name;
    char type;
    int width;
    int decimals = 0;
};

// A record as another program stores it: flag byte and the fields' bytes.
inline std::string raw_record(const std::vector<std::string>& values, char flag = ' ') {
    std::string record(1, flag);
    for (const std::string& value : values)
        record += value;
    return record;
}

struct RawTable {
    std::vector<RawField> fields;
    std::vector<std::string> records;     // whole records, flag included
    unsigned char version = 0x03;
    std::optional<std::uint32_t> count;   // header's record count; the real one when unset
    std::size_t header_padding = 0;       // bytes between the terminator and the records
    bool end_marker = true;

    std::string bytes() const {
        std::string out(32, '\0');
        out[0] = static_cast<char>(version);
        out[1] = 124;
        out[2] = 5;
        out[3] = 17;
        const std::uint32_t n = count.value_or(static_cast<std::uint32_t>(records.size()));
        for (int i = 0; i < 4; ++i)
            out[4 + i] = static_cast<char>(n >> (8 * i) & 0xFF);
        const std::size_t header_length = 32 + 32 * fields.size() + 1 + header_padding;
        std::size_t record_length = 1;
        for (const RawField& f : fields)
            record_length += static_cast<std::size_t>(f.width);
        out[8] = static_cast<char>(header_length & 0xFF);
        out[9] = static_cast<char>(header_length >> 8);
        out[10] = static_cast<char>(record_length & 0xFF);
        out[11] = static_cast<char>(record_length >> 8);
        out[29] = 0x57;
        for (const RawField& f : fields) {
            std::string descriptor(32, '\0');
            descriptor.replace(0, f.name.size(), f.name);
            descriptor[11] = f.type;
            descriptor[16] = static_cast<char>(f.width);
            descriptor[17] = static_cast<char>(f.decimals);
            out += descriptor;
        }
        out += '\x0D';
        out += std::string(header_padding, '\0');
        for (const std::string& record : records)
            out += record;
        if (end_marker)
            out += '\x1A';
        return out;
    }
};

// The message of the Error that `action` throws; fails the test when it
// throws nothing.
template <typename Action>
std::string error_of(Action action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    ADD_FAILURE() << "no error";
    return {};
}

struct Fails {
    std::string message;
};

// A value expected from an accessor, or the message it fails with.
template <typename T>
struct Expect {
    Expect(T v) : value(std::move(v)) {}
    Expect(const char* v) requires std::is_same_v<T, Text8> : value(Text8(v)) {}
    Expect(Fails f) : error(std::move(f.message)) {}
    std::optional<T> value;
    std::string error;
};

inline Fails no_int(const std::string& text) {
    return {"'" + text + "' no es un valor entero válido"};
}
inline Fails no_float(const std::string& text) {
    return {"'" + text + "' no es un valor punto flotante válido"};
}

// Checks what `read` gives against `expected`.
template <typename T, typename Read>
void check(const Expect<T>& expected, Read read) {
    if (expected.value) {
        try {
            EXPECT_EQ(read(), *expected.value);
        } catch (const Error& error) {
            ADD_FAILURE() << "unexpected error: " << error.what();
        }
    } else {
        EXPECT_EQ(error_of(read), expected.error);
    }
}

// Every live record of a table as the text of each field.
inline std::vector<std::vector<Text8>> all_texts(DbfTable& table) {
    std::vector<std::vector<Text8>> rows;
    for (table.first(); !table.eof(); table.next()) {
        std::vector<Text8> row;
        for (int i = 0; i < static_cast<int>(table.fields().size()); ++i)
            row.push_back(table.text(i));
        rows.push_back(row);
    }
    return rows;
}

} // namespace enlazor::test
