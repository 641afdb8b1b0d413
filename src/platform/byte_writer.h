// Building outside data (resource files, record databases) in big-endian
// order in a growing buffer; the writing half of byte_reader.h.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/byte_reader.h"

namespace orvane {

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
