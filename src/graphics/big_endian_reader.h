// A bounds-checked big-endian reader over a byte span. A read past the end
// answers zeros and leaves the reader failed (sticky), so a parser can read
// a whole record and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane::graphics {

class BigEndianReader {
 public:
  explicit BigEndianReader(std::span<const std::uint8_t> data, std::size_t position = 0)
      : data_(data), position_(position <= data.size() ? position : data.size()),
        failed_(position > data.size()) {}

  std::size_t position() const { return position_; }
  std::size_t remaining() const { return data_.size() - position_; }
  std::size_t size() const { return data_.size(); }
  bool failed() const { return failed_; }
  bool can_read(std::size_t n) const { return !failed_ && n <= remaining(); }

  std::uint8_t u8() {
    if (!take(1)) return 0;
    return data_[position_ - 1];
  }
  std::int8_t s8() { return static_cast<std::int8_t>(u8()); }
  std::uint16_t u16() {
    if (!take(2)) return 0;
    return static_cast<std::uint16_t>((data_[position_ - 2] << 8) | data_[position_ - 1]);
  }
  std::int16_t s16() { return static_cast<std::int16_t>(u16()); }
  std::uint32_t u32() {
    std::uint32_t high = u16();
    return (high << 16) | u16();
  }
  // The next n bytes; an empty span (and failure) when fewer remain.
  std::span<const std::uint8_t> bytes(std::size_t n) {
    if (!take(n)) return {};
    return data_.subspan(position_ - n, n);
  }
  void skip(std::size_t n) { take(n); }
  // Moves to the next even offset from the start of the data.
  void align_even() {
    if (position_ % 2 != 0) skip(1);
  }

 private:
  bool take(std::size_t n) {
    if (failed_ || n > remaining()) {
      failed_ = true;
      position_ = data_.size();
      return false;
    }
    position_ += n;
    return true;
  }

  std::span<const std::uint8_t> data_;
  std::size_t position_;
  bool failed_;
};

}  // namespace orvane::graphics
