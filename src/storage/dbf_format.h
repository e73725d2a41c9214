// The byte layout of a dBase table file, and the checks that keep a damaged
// or hostile file from being read out of bounds.
//
//   header       32 bytes: version, update date (YY-1900 MM DD), record count
//                (32 bits), header length and record length (16 bits each),
//                language driver at byte 29 (dBase 7: 68 bytes, see
//                dbf_dialect.h)
//   descriptors  32 bytes per field: name (11 bytes, zero-padded), type,
//                4 unused bytes, width, decimal count, 14 unused bytes;
//                ended by 0x0D (dBase 7: 48 bytes, the name in 32)
//   records      from the header length on: one flag byte (' ' live, '*'
//                deleted) and the fields' bytes, padded to their widths
//   end marker   0x1A after the last record (often missing in other
//                programs' files)
//
// All numbers are little-endian.
#pragma once

#include "storage/dbf_dialect.h"
#include "storage/dbf_table.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor::dbf {

inline constexpr unsigned char kVersionDbase3 = 0x03;
// Windows-1252: dbfread, the Python dbf package and GDAL all decode it so.
inline constexpr unsigned char kLanguageDriver1252 = 0x03;
inline constexpr std::size_t kLanguageDriverOffset = 29;
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kDescriptorSize = 32;
inline constexpr std::size_t kMaxNameLength = 10;
inline constexpr char kHeaderTerminator = 0x0D;
inline constexpr char kEndMarker = 0x1A;
inline constexpr char kLiveFlag = ' ';
inline constexpr char kDeletedFlag = '*';

// Integer fields are N(11,0): every 32-bit value, sign included, fits.
inline constexpr int kIntegerWidth = 11;
// Float fields are N(20,10): hours and periods keep ten decimals.
inline constexpr int kFloatWidth = 20;
inline constexpr int kFloatDecimals = 10;
// A text field's width is one byte of the descriptor; 254 is dBase's limit.
inline constexpr int kMaxTextWidth = 254;

// Where the fields are and how many records the file really holds.
struct Layout {
    std::vector<FieldInfo> fields;
    std::vector<std::size_t> offsets;  // of each field in a record, past the flag byte
    std::size_t header_length = 0;     // records start here
    std::size_t record_length = 0;     // flag byte included
    std::size_t record_count = 0;      // complete records present, at most the header's count
    // The hidden field that holds Visual FoxPro's null and length bits, -1
    // when the table has none (see FieldInfo::length_bit).
    int null_flags_field = -1;
    unsigned char version = 0;
    unsigned char driver_id = 0;
    std::string driver_name;           // dBase 7 only
    bool production_index = false;
};

// Reads the layout of a whole table file. The stored header length and
// record length decide: a dBase 7 header whose 48-byte descriptors do not
// fit them is read as one of 32-byte descriptors. Nothing when the file is
// too short, the descriptors are not ended within the header, a width is 0,
// the record length does not match the fields, or the header claims more
// than the file has. A record count larger than the data, a missing end
// marker and a header longer than its descriptors (a backlink, field
// properties) are tolerated: records start at the header length and stop at
// the last complete one.
std::optional<Layout> parse_layout(std::string_view file);

// The bytes of field `index` in `record` (flag byte first) that hold its
// value: all of them, but for a Visual FoxPro value that is null (none) or
// a Varchar shorter than its field (as many as its last byte says).
std::string_view value_bytes(const Layout& layout, std::string_view record, std::size_t index);

// The header and descriptors of a new table holding `record_count` records,
// up to and including the 0x0D terminator.
std::string make_header(const std::vector<FieldInfo>& fields, std::uint32_t record_count,
                        const std::tm& update_date);

// Bytes 1..7 of the header: update date and record count.
std::string date_and_count(std::uint32_t record_count, const std::tm& update_date);
inline constexpr std::size_t kDateOffset = 1;

// Today's date, as the header records it.
std::tm today();

// The descriptor and record widths of the fields a table is created with.
FieldInfo describe(const std::string& name, FieldType type, int size);

} // namespace enlazor::dbf
