// Reading outside data (resource files, record databases, pictures, sounds,
// memory resources) with an explicit byte order and bounds checks, so that no
// parser can read past its data.
//
// The one failure mode: a read that would pass the end of the data reads
// nothing, answers zero (an empty span, an empty string), moves the position
// to the end and leaves the reader failed for good. Every later read and
// seek of a failed reader fails the same way, so a parser reads a whole
// record and checks `ok()` once, and a loop over `remaining()` always ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvane {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data, std::size_t position = 0) : data_(data) {
    if (position > data_.size()) fail();
    else pos_ = position;
  }

  bool ok() const { return ok_; }
  bool failed() const { return !ok_; }
  std::size_t position() const { return pos_; }
  std::size_t size() const { return data_.size(); }
  std::size_t remaining() const { return data_.size() - pos_; }
  // Whether n more bytes can be read.
  bool has(std::size_t n) const { return ok_ && n <= remaining(); }

  // Moves to an absolute position; a position past the end fails.
  bool seek(std::size_t position) {
    if (!ok_ || position > data_.size()) return fail();
    pos_ = position;
    return true;
  }
  bool skip(std::size_t n) { return take(n) != nullptr; }
  // Moves to the next even offset from the start of the data.
  bool align_even() { return pos_ % 2 == 0 || skip(1); }

  std::uint8_t u8() { return static_cast<std::uint8_t>(big_endian(1)); }
  std::int8_t s8() { return static_cast<std::int8_t>(u8()); }
  std::uint16_t u16be() { return static_cast<std::uint16_t>(big_endian(2)); }
  std::int16_t s16be() { return static_cast<std::int16_t>(u16be()); }
  std::uint32_t u24be() { return static_cast<std::uint32_t>(big_endian(3)); }
  std::uint32_t u32be() { return static_cast<std::uint32_t>(big_endian(4)); }
  std::int32_t s32be() { return static_cast<std::int32_t>(u32be()); }
  std::uint64_t u64be() { return big_endian(8); }
  // The few little-endian fields of the formats (record times, bitmap headers).
  std::uint16_t u16le() { return static_cast<std::uint16_t>(little_endian(2)); }
  std::uint32_t u32le() { return static_cast<std::uint32_t>(little_endian(4)); }
  std::int32_t s32le() { return static_cast<std::int32_t>(u32le()); }

  // The next n bytes.
  std::span<const std::uint8_t> bytes(std::size_t n) {
    const std::uint8_t* p = take(n);
    return p ? std::span<const std::uint8_t>(p, n) : std::span<const std::uint8_t>{};
  }
  // A counted string: one length byte, then that many characters.
  std::string_view counted_string() {
    std::size_t n = u8();
    auto chars = bytes(n);
    return {reinterpret_cast<const char*>(chars.data()), chars.size()};
  }

 private:
  bool fail() {
    ok_ = false;
    pos_ = data_.size();
    return false;
  }
  // The start of the next n bytes, consumed; null (and failure) when fewer remain.
  const std::uint8_t* take(std::size_t n) {
    if (!has(n)) {
      fail();
      return nullptr;
    }
    const std::uint8_t* p = data_.data() + pos_;
    pos_ += n;
    return p;
  }
  std::uint64_t big_endian(std::size_t n) {
    const std::uint8_t* p = take(n);
    std::uint64_t v = 0;
    if (p)
      for (std::size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
  }
  std::uint64_t little_endian(std::size_t n) {
    const std::uint8_t* p = take(n);
    std::uint64_t v = 0;
    if (p)
      for (std::size_t i = n; i > 0; --i) v = (v << 8) | p[i - 1];
    return v;
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// Fixed-width big-endian fields at a known offset of a buffer whose size the
// caller has checked (in-memory maps after validation).
inline std::uint16_t load_u16be(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
inline std::uint32_t load_u24be(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}
inline std::uint32_t load_u32be(const std::uint8_t* p) { return (std::uint32_t{p[0]} << 24) | load_u24be(p + 1); }
inline void store_u16be(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 8);
  p[1] = static_cast<std::uint8_t>(v);
}
inline void store_u24be(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 16);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v);
}
inline void store_u32be(std::uint8_t* p, std::uint32_t v) {
  store_u16be(p, static_cast<std::uint16_t>(v >> 16));
  store_u16be(p + 2, static_cast<std::uint16_t>(v));
}

}  // namespace orvane
