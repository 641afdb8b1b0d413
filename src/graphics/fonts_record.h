// Font Values and font records.
//
// A font Value is a list (face size style): face a string or a built-in font
// number, size the character height in the port's units, style the face
// bits (1 bold, 2 italic, 4 underline, 0x80 strike-out; other bits are
// carried along). A font record is the form window objects and text styles
// hold: the style word, the size word, a name of at most 31 characters and a
// further word carried along.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/value.h"

namespace orvane {

namespace face_bits {
inline constexpr std::uint16_t bold = 0x01;
inline constexpr std::uint16_t italic = 0x02;
inline constexpr std::uint16_t underline = 0x04;
inline constexpr std::uint16_t strike_out = 0x80;
}  // namespace face_bits

struct FontRecord {
  static constexpr std::size_t kMaxName = 31;  // a length byte and 31 in a 32-byte field

  std::uint16_t style = 0;
  std::int16_t size = 0;
  std::string name;  // Windows-1252, at most kMaxName bytes
  std::uint16_t extra = 0;

  friend bool operator==(const FontRecord&, const FontRecord&) = default;
};

// The record as window objects and text styles store it: the style word,
// the size word, the length byte and 31 name bytes, the further word; words
// little-endian. Decoding reads at most 31 name bytes whatever the length
// byte says.
inline constexpr std::size_t kFontRecordBytes = 38;
std::array<std::uint8_t, kFontRecordBytes> encode_font_record(const FontRecord& record);
FontRecord decode_font_record(std::span<const std::uint8_t, kFontRecordBytes> bytes);

// The face of a built-in font number (a number outside 0-24 means 1).
std::string_view builtin_font_name(std::int32_t number);

// The record of a font Value. A missing size or style reads as 0; a face
// that is neither a string nor an integer, or a size or style that is no
// integer or does not fit its 16-bit field, raises error 2 with the culprit.
FontRecord font_record_of(Value font);
// The font Value (name size style) of a record.
Value make_font_value(const FontRecord& record);

}  // namespace orvane
