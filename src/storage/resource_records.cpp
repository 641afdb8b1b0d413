#include "storage/resource_records.h"

#include <algorithm>

#include "platform/byte_reader.h"

namespace orvane {

namespace {
constexpr std::uint32_t kHelpHeader = 4;
constexpr std::uint32_t kHelpNameMax = 127;
}  // namespace

int string_list_count(std::span<const std::uint8_t> data) {
  ByteReader r(data);
  std::uint16_t n = r.u16be();
  return r.ok() ? n : 0;
}

std::optional<std::string_view> string_list_entry(std::span<const std::uint8_t> data, int index) {
  if (index < 1 || index > string_list_count(data)) return std::nullopt;
  ByteReader r(data, 2);
  for (int i = 1; i < index; ++i) r.counted_string();
  std::string_view s = r.counted_string();
  if (!r.ok()) return std::nullopt;
  return s;
}

std::optional<std::string_view> single_string(std::span<const std::uint8_t> data) {
  ByteReader r(data);
  std::string_view s = r.counted_string();
  if (!r.ok()) return std::nullopt;
  return s;
}

std::optional<Pattern> builtin_pattern(int index) {
  switch (index) {
    case 1: return Pattern{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
    case 4: return Pattern{0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55};
    case 20: return Pattern{};
    default: return std::nullopt;
  }
}

std::optional<Pattern> pattern_list_entry(std::span<const std::uint8_t> data, int index) {
  ByteReader r(data);
  int count = r.u16be();
  if (!r.ok() || index < 1 || index > count) return std::nullopt;
  if (!r.seek(2 + std::size_t{8} * static_cast<std::size_t>(index - 1))) return std::nullopt;
  auto bytes = r.bytes(8);
  if (!r.ok()) return std::nullopt;
  Pattern p;
  std::copy(bytes.begin(), bytes.end(), p.begin());
  return p;
}

std::vector<HelpRecord> help_records(std::span<const std::uint8_t> data) {
  std::vector<HelpRecord> out;
  ByteReader r(data);
  while (r.remaining() > kHelpHeader) {
    auto start = static_cast<std::uint32_t>(r.position());
    r.skip(kHelpHeader);
    std::uint32_t length = r.u8();
    if (length > kHelpNameMax) break;
    auto name = r.bytes(length);
    if (!r.ok()) break;
    // Length byte and name take an even number of bytes; the last record
    // may lack its padding byte.
    if ((length + 1) % 2 != 0 && r.remaining() > 0) r.skip(1);
    out.push_back({start, kHelpHeader + ((length + 2) & ~1u),
                   {reinterpret_cast<const char*>(name.data()), name.size()}});
  }
  return out;
}

std::uint32_t help_offset(std::span<const std::uint8_t> data, std::int32_t n) {
  std::uint32_t offset = 0;
  std::int32_t i = 0;
  for (const HelpRecord& rec : help_records(data)) {
    if (i++ >= n) break;
    offset += rec.size;
  }
  return offset;
}

std::int32_t help_number(std::span<const std::uint8_t> data, std::int32_t offset) {
  std::int64_t left = offset;
  std::int32_t count = 0;
  for (const HelpRecord& rec : help_records(data)) {
    if (left <= 0) break;
    left -= rec.size;
    ++count;
  }
  return count;
}

}  // namespace orvane
