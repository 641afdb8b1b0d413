#include "shell/title_resources.h"

#include <algorithm>

#include "platform/byte_writer.h"

namespace orvane::shell {

namespace {

constexpr std::size_t kMaxCounted = 255;
constexpr int kOpaqueFrom = 128;
constexpr int kDarkBelow = 128;

// A length byte, then at most 255 characters.
void counted(ByteWriter& out, std::string_view text) {
  text = text.substr(0, kMaxCounted);
  out.u8(static_cast<std::uint8_t>(text.size()));
  out.text(text);
}

}  // namespace

Bytes preferences_resource(std::uint8_t flags, int language, raster::IntSize client) {
  ByteWriter out;
  out.u16be(0);
  out.u8(flags);
  out.u8(static_cast<std::uint8_t>(language));
  out.u16be(static_cast<std::uint16_t>(client.width));
  out.u16be(static_cast<std::uint16_t>(client.height));
  return out.take();
}

Bytes caption_resource(std::string_view caption) {
  ByteWriter out;
  counted(out, caption);
  return out.take();
}

Bytes memory_resource(const MemoryConfig& m) {
  ByteWriter out;
  for (std::uint32_t v : {m.symbols, m.lisp_stack, m.prolog_stack, m.nodes, m.heap, m.reserve, m.native_stack,
                          m.node_share, m.reserve_share})
    out.u32be(v);
  return out.take();
}

Bytes size_resource(const MemoryConfig& m) {
  ByteWriter out;
  out.u16be(0);
  out.u32be(static_cast<std::uint32_t>(m.total));  // preferred
  out.u32be(static_cast<std::uint32_t>(m.total));  // minimum
  return out.take();
}

Bytes wait_resource(std::uint16_t ticks) {
  ByteWriter out;
  out.u16be(ticks);
  return out.take();
}

Bytes cursor_resource(std::span<const std::uint8_t> rgba, int hot_x, int hot_y) {
  std::array<std::uint16_t, kCursorSide> image{}, mask{};
  for (int y = 0; y < kCursorSide; ++y)
    for (int x = 0; x < kCursorSide; ++x) {
      const std::size_t at = 4 * static_cast<std::size_t>(y * kCursorSide + x);
      if (at + 3 >= rgba.size() || rgba[at + 3] < kOpaqueFrom) continue;
      const auto bit = static_cast<std::uint16_t>(0x8000u >> x);
      mask[y] |= bit;
      if (rgba[at] * 299 + rgba[at + 1] * 587 + rgba[at + 2] * 114 < kDarkBelow * 1000) image[y] |= bit;
    }
  ByteWriter out;
  for (std::uint16_t row : image) out.u16be(row);
  for (std::uint16_t row : mask) out.u16be(row);
  out.u16be(static_cast<std::uint16_t>(hot_y));
  out.u16be(static_cast<std::uint16_t>(hot_x));
  return out.take();
}

Bytes string_list_resource(std::span<const std::string> strings) {
  ByteWriter out;
  out.u16be(static_cast<std::uint16_t>(strings.size()));
  for (const std::string& s : strings) counted(out, s);
  return out.take();
}

Bytes pattern_list_resource(std::span<const std::array<std::uint8_t, 8>> patterns) {
  ByteWriter out;
  out.u16be(static_cast<std::uint16_t>(patterns.size()));
  for (const auto& pattern : patterns) out.bytes(pattern);
  return out.take();
}

std::vector<std::string_view> text_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

}  // namespace orvane::shell
