// Big-endian reading and writing of outside data with bounds checks. Every
// parser of files that come from outside (resource files, databases,
// pictures, sounds) reads through ByteReader, so none can read past its data.
//
// A read past the end does not throw: it answers zero, leaves the position
// where it was and sets a sticky failure flag that the parser checks once
// per record (`ok()`), as a stream's error state.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace orvane {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data, std::size_t position = 0)
      : data_(data), pos_(position) {
    if (pos_ > data_.size()) fail();
  }

  bool ok() const { return ok_; }
  std::size_t position() const { return pos_; }
  std::size_t size() const { return data_.size(); }
  std::size_t remaining() const { return data_.size() - pos_; }
  bool has(std::size_t n) const { return n <= remaining(); }

  // Moves to an absolute position; a position past the end fails.
  bool seek(std::size_t position) {
    if (position > data_.size()) return fail();
    pos_ = position;
    return true;
  }
  bool skip(std::size_t n) {
    if (!has(n)) return fail();
    pos_ += n;
    return true;
  }

  std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)); }
  std::int8_t s8() { return static_cast<std::int8_t>(u8()); }
  std::uint16_t u16be() { return static_cast<std::uint16_t>(take(2)); }
  std::int16_t s16be() { return static_cast<std::int16_t>(u16be()); }
  std::uint32_t u24be() { return static_cast<std::uint32_t>(take(3)); }
  std::uint32_t u32be() { return static_cast<std::uint32_t>(take(4)); }
  std::int32_t s32be() { return static_cast<std::int32_t>(u32be()); }
  std::uint64_t u64be() { return take(8); }

  // The next n bytes; an empty span (and failure) when fewer remain.
  std::span<const std::uint8_t> bytes(std::size_t n) {
    if (!has(n)) {
      fail();
      return {};
    }
    auto out = data_.subspan(pos_, n);
    pos_ += n;
    return out;
  }
  // A counted string: one length byte, then that many characters.
  std::string_view counted_string() {
    std::size_t start = pos_;
    std::size_t n = u8();
    auto chars = bytes(n);
    if (!ok_) {
      pos_ = start;
      return {};
    }
    return {reinterpret_cast<const char*>(chars.data()), chars.size()};
  }

 private:
  bool fail() {
    ok_ = false;
    return false;
  }
  std::uint64_t take(std::size_t n) {
    if (!has(n)) {
      fail();
      return 0;
    }
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = (v << 8) | data_[pos_ + i];
    pos_ += n;
    return v;
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// Fixed-width big-endian fields at a known offset of a buffer whose size the
// caller has checked (used on in-memory maps after validation).
inline std::uint16_t load_u16be(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t load_u24be(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}
inline std::uint32_t load_u32be(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | load_u24be(p + 1);
}
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

// Builds big-endian data in a growing buffer.
class ByteWriter {
 public:
  ByteWriter() = default;
  explicit ByteWriter(std::size_t reserve) { out_.reserve(reserve); }

  void u8(std::uint8_t v) { out_.push_back(v); }
  void u16be(std::uint16_t v) { put(v, 2); }
  void u24be(std::uint32_t v) { put(v, 3); }
  void u32be(std::uint32_t v) { put(v, 4); }
  void u64be(std::uint64_t v) { put(v, 8); }
  void bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void text(std::string_view s) {
    out_.insert(out_.end(), reinterpret_cast<const std::uint8_t*>(s.data()),
                reinterpret_cast<const std::uint8_t*>(s.data()) + s.size());
  }
  void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
  // Overwrites bytes already written (field patched after the fact).
  void patch_u32be(std::size_t at, std::uint32_t v) {
    if (at <= out_.size() && out_.size() - at >= 4) store_u32be(out_.data() + at, v);
  }

  std::size_t size() const { return out_.size(); }
  const std::vector<std::uint8_t>& data() const { return out_; }
  std::vector<std::uint8_t> take() { return std::move(out_); }

 private:
  void put(std::uint64_t v, int n) {
    for (int i = n - 1; i >= 0; --i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> out_;
};

}  // namespace orvane
