#include "graphics/packbits.h"

#include <algorithm>
#include <cstring>

namespace orvane::graphics {

namespace {

UnpackResult unpack(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out, std::size_t item,
                    std::size_t& in) {
  std::size_t at = 0;
  while (at < out.size()) {
    if (in >= packed.size()) return UnpackResult::short_row;
    std::uint8_t flag = packed[in++];
    if (flag == 128) continue;
    if (flag < 128) {
      std::size_t n = (std::size_t{flag} + 1) * item;
      if (n > out.size() - at) return UnpackResult::overrun;
      if (n > packed.size() - in) return UnpackResult::short_row;
      std::memcpy(out.data() + at, packed.data() + in, n);
      in += n;
      at += n;
    } else {
      std::size_t count = 257 - std::size_t{flag};
      if (count * item > out.size() - at) return UnpackResult::overrun;
      if (item > packed.size() - in) return UnpackResult::short_row;
      const std::uint8_t* value = packed.data() + in;
      in += item;
      for (std::size_t i = 0; i < count; ++i, at += item) std::memcpy(out.data() + at, value, item);
    }
  }
  return UnpackResult::complete;
}

void pack(std::span<const std::uint8_t> row, std::size_t item, std::vector<std::uint8_t>& out) {
  constexpr std::size_t kMaxItems = 128;
  const std::size_t n = row.size() / item;
  auto same = [&](std::size_t a, std::size_t b) {
    return std::equal(row.begin() + static_cast<std::ptrdiff_t>(a * item),
                      row.begin() + static_cast<std::ptrdiff_t>((a + 1) * item),
                      row.begin() + static_cast<std::ptrdiff_t>(b * item));
  };
  auto copy = [&](std::size_t from, std::size_t count) {
    out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(from * item),
               row.begin() + static_cast<std::ptrdiff_t>((from + count) * item));
  };
  std::size_t at = 0;
  while (at < n) {
    std::size_t run = 1;
    while (at + run < n && run < kMaxItems && same(at, at + run)) ++run;
    if (run >= 3) {
      out.push_back(static_cast<std::uint8_t>(257 - run));
      copy(at, 1);
      at += run;
      continue;
    }
    // A literal item ends where a run of three equal items begins.
    std::size_t end = at;
    while (end < n && end - at < kMaxItems) {
      if (end + 2 < n && same(end, end + 1) && same(end, end + 2)) break;
      ++end;
    }
    out.push_back(static_cast<std::uint8_t>(end - at - 1));
    copy(at, end - at);
    at = end;
  }
}

}  // namespace

UnpackResult unpack_bits(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out,
                         std::size_t* consumed) {
  std::size_t in = 0;
  UnpackResult r = unpack(packed, out, 1, in);
  if (consumed) *consumed = in;
  return r;
}

UnpackResult unpack_words(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out,
                          std::size_t* consumed) {
  std::size_t in = 0;
  UnpackResult r = unpack(packed, out, 2, in);
  if (consumed) *consumed = in;
  return r;
}

void pack_bits(std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out) { pack(row, 1, out); }

void pack_words(std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out) { pack(row, 2, out); }

}  // namespace orvane::graphics
