// The dBase dialects a table may be written in, and the language drivers
// that say in which code page its text is stored.
//
// The first byte of a table names the program level that wrote it. Three
// header layouts follow from it:
//
//   dBase III+, IV, 5, FoxPro   32-byte header, 32-byte field descriptors
//                               (name in 11 bytes). Visual FoxPro keeps a
//                               263-byte backlink after the terminator,
//                               inside the header length.
//   dBase 7 (0x04, 0x8C)        68-byte header whose bytes 32..63 hold the
//                               language driver's name, 48-byte field
//                               descriptors (name in 32 bytes), and an
//                               optional field-properties block after the
//                               terminator, inside the header length.
//
// Byte 29 of every header is the language driver's id.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace enlazor::dbf {

// The program family whose rules decide how binary field types are stored.
enum class Family {
    Dbase,         // dBase III+, IV, 5, and tables of unknown levels
    Dbase7,        // binary numbers big-endian, ordered by their bytes
    FoxPro,        // FoxBASE and FoxPro 2.x
    VisualFoxPro,  // binary numbers little-endian; B is a double
};

struct DescriptorLayout {
    std::size_t first = 32;        // offset of the first field descriptor
    std::size_t size = 32;         // bytes per descriptor
    std::size_t name_length = 11;  // bytes of the name, zero-padded
    std::size_t type_at = 11;      // offsets inside a descriptor
    std::size_t width_at = 16;
    std::size_t decimals_at = 17;
};

inline constexpr DescriptorLayout kDbase3Descriptors{};
inline constexpr DescriptorLayout kDbase7Descriptors{68, 48, 32, 32, 33, 34};

// Bytes 32..63 of a dBase 7 header.
inline constexpr std::size_t kDriverNameOffset = 32;
inline constexpr std::size_t kDriverNameLength = 32;
inline constexpr std::size_t kProductionIndexOffset = 28;

Family family_of(unsigned char version);

// The level's name as the check shows it: "dBase 7 con memo", "Visual
// FoxPro", "desconocido (0x45)"; with the production index when the flag is set.
std::string level_name(unsigned char version, bool production_index);

// The code page a language driver stores text in: by the dBase 7 driver
// name when it names one we know, else by the id at byte 29. 0 when neither
// names a single-byte code page we know (byte 0 names none at all).
unsigned driver_code_page(unsigned char driver_id, std::string_view driver_name);

} // namespace enlazor::dbf
