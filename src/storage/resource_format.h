// The resource file format: big-endian header, data area and resource map,
// the attribute bits, four-character codes and the error codes that every
// resource operation reports.
//
//   file header (256 bytes): data offset (256), map offset, data length,
//     map length, zeros, the file name as a counted string at 48, file type
//     at 82, creator at 86; byte 128 must be 0.
//   data area: blocks of a 4-byte length and that many bytes.
//   map: copy of the header's first 16 bytes, link (4) and reference number
//     (2) that are zero in the file, file attributes (2), type-list offset
//     (2, 28 in files this program writes), name-list offset (2), then the
//     type list, the reference lists and the name list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

namespace rsrc {

inline constexpr std::uint32_t kHeaderSize = 256;
inline constexpr std::uint32_t kDataOffset = 256;
inline constexpr std::uint32_t kHeaderCopySize = 16;
inline constexpr std::uint32_t kFileNameOffset = 48;
inline constexpr std::uint32_t kFileNameMax = 33;
inline constexpr std::uint32_t kFileTypeOffset = 82;
inline constexpr std::uint32_t kFileCreatorOffset = 86;
inline constexpr std::uint32_t kMustBeZeroOffset = 128;

// Offsets inside the map.
inline constexpr std::uint32_t kMapLink = 16;
inline constexpr std::uint32_t kMapRefNum = 20;
inline constexpr std::uint32_t kMapAttributes = 22;
inline constexpr std::uint32_t kMapTypeListOffset = 24;
inline constexpr std::uint32_t kMapNameListOffset = 26;
inline constexpr std::uint32_t kStandardTypeList = 28;
inline constexpr std::uint32_t kEmptyMapSize = 30;
inline constexpr std::uint32_t kTypeEntrySize = 8;
inline constexpr std::uint32_t kRefEntrySize = 12;

inline constexpr std::uint32_t kNoName = 0xffff;
inline constexpr std::uint32_t kNoData = 0xffffff;
inline constexpr std::uint32_t kMaxNameLength = 255;

// Resource attribute bits.
inline constexpr std::uint8_t kResChanged = 0x02;
inline constexpr std::uint8_t kResPreload = 0x04;
inline constexpr std::uint8_t kResProtected = 0x08;
inline constexpr std::uint8_t kResPurgeable = 0x20;

// File attribute bits.
inline constexpr std::uint16_t kMapChanged = 0x20;
inline constexpr std::uint16_t kMapCompact = 0x40;
inline constexpr std::uint16_t kMapReadOnly = 0x80;

}  // namespace rsrc

// The outcome of a resource operation, as `reserror` answers it (the classic
// Macintosh codes).
enum class ResError : std::int16_t {
  none = 0,
  write_failed = -34,      // a write or seek failed while writing data or the map
  io = -36,                // a read failed; the map's header copy differs
  bad_file = -37,          // cannot open or create; invalid header or map
  permission = -44,        // creation refused by the system
  exists = -48,            // creation refused: the file exists
  memory = -108,           // no memory for the map, a handle or map growth
  not_found = -192,        // no such resource
  no_file = -193,          // no open resource file has that reference number
  add_failed = -194,       // addresource refused
  remove_failed = -196,    // rmveresource refused
};

inline std::int16_t code_of(ResError e) { return static_cast<std::int16_t>(e); }

// A four-character code (resource type, file type, creator), compared as its
// raw four bytes.
struct FourCC {
  std::array<char, 4> chars{};

  static FourCC of(std::string_view text) {
    FourCC c;  // shorter texts are padded with zero bytes
    for (std::size_t i = 0; i < 4 && i < text.size(); ++i) c.chars[i] = text[i];
    return c;
  }
  static FourCC from_bytes(const std::uint8_t* p) {
    FourCC c;
    for (int i = 0; i < 4; ++i) c.chars[i] = static_cast<char>(p[i]);
    return c;
  }
  std::string_view view() const { return {chars.data(), 4}; }
  std::string str() const { return std::string(view()); }
  std::uint32_t key() const {
    return (std::uint32_t{static_cast<std::uint8_t>(chars[0])} << 24) |
           (std::uint32_t{static_cast<std::uint8_t>(chars[1])} << 16) |
           (std::uint32_t{static_cast<std::uint8_t>(chars[2])} << 8) |
           std::uint32_t{static_cast<std::uint8_t>(chars[3])};
  }
  bool operator==(const FourCC&) const = default;
};

}  // namespace orvane
