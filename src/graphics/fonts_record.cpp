#include "graphics/fonts_record.h"

#include <algorithm>
#include <array>

#include "core/collector.h"
#include "core/errors.h"
#include "core/memory.h"

namespace orvane {

namespace {

constexpr std::array<std::string_view, 25> kBuiltinFaces = {
    "MS Sans Serif",   "MS Sans Serif", "MS Sans Serif", "MS Sans Serif", "Courier New",
    "System",          "Roman",         "System",        "System",        "Times New Roman",
    "System",          "Wingdings",     "System",        "System",        "System",
    "System",          "Arial",         "System",        "System",        "System",
    "Times New Roman", "Arial",         "Courier New",   "Wingdings",     "System"};

Value nth_or_nil(Value list, int n) {
  for (int i = 0; i < n && is_pair(list); ++i) list = cdr(list);
  return is_pair(list) ? car(list) : kNil;
}

// A 16-bit field: nil is 0; an integer must fit the field's signed or
// unsigned range.
std::int32_t word_of(Value v) {
  if (is_nil(v)) return 0;
  if (!is_integer(v)) raise_error(2, v);
  std::int32_t n = integer_unchecked(v);
  if (n < -32768 || n > 65535) raise_error(2, v);
  return n;
}

}  // namespace

std::string_view builtin_font_name(std::int32_t number) {
  if (number < 0 || number >= static_cast<std::int32_t>(kBuiltinFaces.size())) number = 1;
  return kBuiltinFaces[static_cast<std::size_t>(number)];
}

FontRecord font_record_of(Value font) {
  if (!is_pair(font)) raise_error(2, font);
  FontRecord record;
  Value face = car(font);
  if (is_string(face)) {
    std::string_view name = string_view_of(face);
    record.name = std::string(name.substr(0, FontRecord::kMaxName));
  } else if (is_integer(face)) {
    record.name = std::string(builtin_font_name(integer_unchecked(face)));
  } else {
    raise_error(2, face);
  }
  Value size = nth_or_nil(font, 1);
  std::int32_t size_word = word_of(size);
  if (size_word > 32767) raise_error(2, size);
  record.size = static_cast<std::int16_t>(size_word);
  record.style = static_cast<std::uint16_t>(word_of(nth_or_nil(font, 2)));
  return record;
}

std::array<std::uint8_t, kFontRecordBytes> encode_font_record(const FontRecord& record) {
  std::array<std::uint8_t, kFontRecordBytes> bytes{};
  auto put_word = [&](std::size_t at, std::uint16_t w) {
    bytes[at] = static_cast<std::uint8_t>(w & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(w >> 8);
  };
  put_word(0, record.style);
  put_word(2, static_cast<std::uint16_t>(record.size));
  const std::size_t length = std::min(record.name.size(), FontRecord::kMaxName);
  bytes[4] = static_cast<std::uint8_t>(length);
  std::copy_n(record.name.begin(), length, bytes.begin() + 5);
  put_word(36, record.extra);
  return bytes;
}

FontRecord decode_font_record(std::span<const std::uint8_t, kFontRecordBytes> bytes) {
  auto word = [&](std::size_t at) { return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8)); };
  FontRecord record;
  record.style = word(0);
  record.size = static_cast<std::int16_t>(word(2));
  const std::size_t length = std::min<std::size_t>(bytes[4], FontRecord::kMaxName);
  record.name.assign(reinterpret_cast<const char*>(bytes.data() + 5), length);
  record.extra = word(36);
  return record;
}

Value make_font_value(const FontRecord& record) {
  GcRoot list(cons(make_integer(record.style), kNil));
  list.set(cons(make_integer(record.size), list.get()));
  return cons(make_string(record.name), list.get());
}

}  // namespace orvane
