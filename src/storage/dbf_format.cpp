#include "storage/dbf_format.h"

#include "platform/local_time.h"

#include <algorithm>
#include <cstring>

namespace enlazor {

FieldType FieldInfo::kind() const {
    switch (coding) {
    case FieldCoding::Int32:
    case FieldCoding::SortableInt32:
        return FieldType::Integer;
    case FieldCoding::Double:
    case FieldCoding::SortableDouble:
    case FieldCoding::Currency:
        return FieldType::Float;
    case FieldCoding::JulianDateTime:
    case FieldCoding::SortableTimestamp:
        return FieldType::Text;
    case FieldCoding::Characters:
        break;
    }
    switch (dbase_type) {
    case 'N':
        return decimals == 0 ? FieldType::Integer : FieldType::Float;
    case 'F':
        return FieldType::Float;
    case 'M':
    case 'G':
    case 'B':
    case 'P':
        // A memo reference is the number of its block in the memo file.
        return FieldType::Integer;
    default:
        // C, L, D and every type we do not know are read as their stored text.
        return FieldType::Text;
    }
}

namespace dbf {

namespace {

unsigned byte_at(std::string_view bytes, std::size_t offset) {
    return static_cast<unsigned char>(bytes[offset]);
}

std::uint32_t u16_at(std::string_view bytes, std::size_t offset) {
    return byte_at(bytes, offset) | byte_at(bytes, offset + 1) << 8;
}

std::uint32_t u32_at(std::string_view bytes, std::size_t offset) {
    return u16_at(bytes, offset) | u16_at(bytes, offset + 2) << 16;
}

void put_u16(std::string& bytes, std::size_t offset, std::uint32_t value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8 & 0xFF);
}

void put_u32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    put_u16(bytes, offset, value & 0xFFFF);
    put_u16(bytes, offset + 2, value >> 16);
}

// How the dialect stores a field of this type and width. A binary type of
// an unexpected width is read as characters, so no read goes past the field.
FieldCoding coding_of(Family family, char type, int width) {
    const bool dbase7 = family == Family::Dbase7;
    if (width == 4) {
        switch (type) {
        case 'I':
        case '+':
            return dbase7 ? FieldCoding::SortableInt32 : FieldCoding::Int32;
        case 'M':
        case 'G':
        case 'P':
        case 'W':
            return FieldCoding::Int32;  // Visual FoxPro's memo references
        default:
            break;
        }
    } else if (width == 8) {
        switch (type) {
        case 'O':
            return dbase7 ? FieldCoding::SortableDouble : FieldCoding::Double;
        case 'B':
            // dBase's B is a memo reference in digits, of width 10.
            return family == Family::VisualFoxPro ? FieldCoding::Double : FieldCoding::Characters;
        case 'Y':
            return FieldCoding::Currency;
        case '@':
            return dbase7 ? FieldCoding::SortableTimestamp : FieldCoding::JulianDateTime;
        case 'T':
            return FieldCoding::JulianDateTime;
        default:
            break;
        }
    }
    return FieldCoding::Characters;
}

FieldInfo read_descriptor(std::string_view descriptor, const DescriptorLayout& at, Family family) {
    std::string_view name = descriptor.substr(0, at.name_length);
    name = name.substr(0, std::min(name.find('\0'), name.size()));
    const char type = descriptor[at.type_at];
    const int width = static_cast<int>(byte_at(descriptor, at.width_at));
    return FieldInfo{std::string(name), type, width,
                     static_cast<int>(byte_at(descriptor, at.decimals_at)),
                     coding_of(family, type, width)};
}

// Visual FoxPro marks each field in byte 18 of its descriptor: 0x01 a
// system field, hidden from the user (_NullFlags is one), 0x02 a field
// that may hold null.
constexpr std::size_t kFieldFlagsAt = 18;
constexpr unsigned char kSystemField = 0x01;
constexpr unsigned char kNullableField = 0x02;

// Numbers the bits of _NullFlags as Visual FoxPro hands them out, field by
// field in stored order: a Varchar or Varbinary field takes one for its
// length, then a nullable field one for its null. Without a _NullFlags
// field wide enough for them, no field has bits: its values fill it.
void number_null_flags(std::string_view file, Layout& layout) {
    int bits = 0;
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        FieldInfo& field = layout.fields[i];
        const unsigned flags = byte_at(file, kHeaderSize + i * kDescriptorSize + kFieldFlagsAt);
        if ((flags & kSystemField) && field.name == "_NullFlags") {
            layout.null_flags_field = static_cast<int>(i);
            continue;
        }
        if (field.dbase_type == 'V' || field.dbase_type == 'Q')
            field.length_bit = bits++;
        if (flags & kNullableField)
            field.null_bit = bits++;
    }
    const bool room = layout.null_flags_field >= 0 &&
                      layout.fields[static_cast<std::size_t>(layout.null_flags_field)].width * 8 >= bits;
    if (room)
        return;
    layout.null_flags_field = -1;
    for (FieldInfo& field : layout.fields)
        field.length_bit = field.null_bit = -1;
}

bool bit_set(std::string_view flags, int bit) {
    const auto byte = static_cast<std::size_t>(bit / 8);
    return byte < flags.size() && (static_cast<unsigned char>(flags[byte]) >> (bit % 8) & 1) != 0;
}

std::size_t total_width(const std::vector<FieldInfo>& fields) {
    std::size_t total = 0;
    for (const FieldInfo& field : fields)
        total += static_cast<std::size_t>(field.width);
    return total;
}

// Clipper and FoxPro keep text fields wider than 255 bytes with the decimal
// count byte as the width's high byte; taken only when the plain widths do
// not add up to the record and these do.
bool widen_long_text_fields(std::vector<FieldInfo>& fields, std::size_t record_length) {
    std::vector<FieldInfo> widened = fields;
    for (FieldInfo& field : widened) {
        if (field.dbase_type == 'C' && field.decimals != 0) {
            field.width += field.decimals * 256;
            field.decimals = 0;
        }
    }
    if (total_width(widened) + 1 != record_length)
        return false;
    fields = std::move(widened);
    return true;
}

// The fields of the descriptors laid out `at`, or nothing when they do not
// fit the header length and the record length.
std::optional<std::vector<FieldInfo>> read_fields(std::string_view file, std::size_t header_length,
                                                  std::size_t record_length,
                                                  const DescriptorLayout& at, Family family) {
    // Descriptors until the terminator, which must lie inside the header.
    std::vector<FieldInfo> fields;
    std::size_t offset = at.first;
    while (true) {
        if (offset >= header_length)
            return std::nullopt;
        if (file[offset] == kHeaderTerminator)
            break;
        if (offset + at.size > header_length)
            return std::nullopt;
        fields.push_back(read_descriptor(file.substr(offset, at.size), at, family));
        offset += at.size;
    }
    if (fields.empty())
        return std::nullopt;
    if (total_width(fields) + 1 != record_length && !widen_long_text_fields(fields, record_length))
        return std::nullopt;
    for (const FieldInfo& field : fields)
        if (field.width <= 0)
            return std::nullopt;
    return fields;
}

} // namespace

std::optional<Layout> parse_layout(std::string_view file) {
    if (file.size() < kHeaderSize)
        return std::nullopt;
    Layout layout;
    layout.header_length = u16_at(file, 8);
    layout.record_length = u16_at(file, 10);
    if (layout.header_length > file.size() || layout.record_length < 2)
        return std::nullopt;
    layout.version = static_cast<unsigned char>(file[0]);
    layout.driver_id = static_cast<unsigned char>(file[kLanguageDriverOffset]);
    layout.production_index = (byte_at(file, kProductionIndexOffset) & 0x01) != 0;

    const Family family = family_of(layout.version);
    std::optional<std::vector<FieldInfo>> fields;
    if (family == Family::Dbase7) {
        fields = read_fields(file, layout.header_length, layout.record_length, kDbase7Descriptors,
                             family);
        if (fields) {
            // Inside the header: the descriptors start after it.
            std::string_view name = file.substr(kDriverNameOffset, kDriverNameLength);
            layout.driver_name = std::string(name.substr(0, std::min(name.find('\0'), name.size())));
        }
    }
    if (!fields)
        fields = read_fields(file, layout.header_length, layout.record_length, kDbase3Descriptors,
                             family);
    if (!fields)
        return std::nullopt;
    layout.fields = std::move(*fields);

    if (family == Family::VisualFoxPro && layout.header_length >= kHeaderSize + kDescriptorSize * layout.fields.size())
        number_null_flags(file, layout);

    std::size_t position = 1;
    for (const FieldInfo& field : layout.fields) {
        layout.offsets.push_back(position);
        position += static_cast<std::size_t>(field.width);
    }

    const std::size_t complete = (file.size() - layout.header_length) / layout.record_length;
    layout.record_count = std::min<std::size_t>(u32_at(file, 4), complete);
    return layout;
}

std::string_view value_bytes(const Layout& layout, std::string_view record, std::size_t index) {
    const FieldInfo& field = layout.fields[index];
    std::string_view value = record.substr(layout.offsets[index], static_cast<std::size_t>(field.width));
    if (layout.null_flags_field < 0 || (field.length_bit < 0 && field.null_bit < 0))
        return value;
    const auto flags_at = static_cast<std::size_t>(layout.null_flags_field);
    const std::string_view flags = record.substr(layout.offsets[flags_at],
                                                 static_cast<std::size_t>(layout.fields[flags_at].width));
    if (field.null_bit >= 0 && bit_set(flags, field.null_bit))
        return value.substr(0, 0);
    if (field.length_bit >= 0 && bit_set(flags, field.length_bit))
        // The length byte itself is no part of the value, whatever it claims.
        return value.substr(0, std::min<std::size_t>(byte_at(value, value.size() - 1), value.size() - 1));
    return value;
}

std::string date_and_count(std::uint32_t record_count, const std::tm& update_date) {
    std::string bytes(7, '\0');
    bytes[0] = static_cast<char>(std::clamp(update_date.tm_year, 0, 255));
    bytes[1] = static_cast<char>(update_date.tm_mon + 1);
    bytes[2] = static_cast<char>(update_date.tm_mday);
    put_u32(bytes, 3, record_count);
    return bytes;
}

std::string make_header(const std::vector<FieldInfo>& fields, std::uint32_t record_count,
                        const std::tm& update_date) {
    const std::size_t header_length = kHeaderSize + kDescriptorSize * fields.size() + 1;
    std::string header(header_length, '\0');
    header[0] = static_cast<char>(kVersionDbase3);
    header.replace(kDateOffset, 7, date_and_count(record_count, update_date));
    put_u16(header, 8, static_cast<std::uint32_t>(header_length));
    put_u16(header, 10, static_cast<std::uint32_t>(total_width(fields) + 1));
    header[kLanguageDriverOffset] = static_cast<char>(kLanguageDriver1252);

    std::size_t offset = kHeaderSize;
    for (const FieldInfo& field : fields) {
        const std::size_t name_length = std::min(field.name.size(), kMaxNameLength);
        std::memcpy(&header[offset], field.name.data(), name_length);
        header[offset + 11] = field.dbase_type;
        header[offset + 16] = static_cast<char>(field.width);
        header[offset + 17] = static_cast<char>(field.decimals);
        offset += kDescriptorSize;
    }
    header[offset] = kHeaderTerminator;
    return header;
}

std::tm today() { return platform::local_now(); }

FieldInfo describe(const std::string& name, FieldType type, int size) {
    switch (type) {
    case FieldType::Integer:
        return FieldInfo{name, 'N', kIntegerWidth, 0};
    case FieldType::Float:
        return FieldInfo{name, 'N', kFloatWidth, kFloatDecimals};
    case FieldType::Text:
        break;
    }
    return FieldInfo{name, 'C', size, 0};
}

} // namespace dbf
} // namespace enlazor
