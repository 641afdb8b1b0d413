#include "graphics/logical_font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/fonts/font.h"

namespace orvane::graphics {

namespace {

constexpr std::size_t kHeight = 0;
constexpr std::size_t kWeight = 16;
constexpr std::size_t kItalic = 20;
constexpr std::size_t kUnderline = 21;
constexpr std::size_t kStrikeOut = 22;
constexpr std::size_t kFaceName = 28;
constexpr std::size_t kFaceNameField = 32;
constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;
// Weights from semi-bold up count as bold, as GDI's font mapper has them.
constexpr int kBoldFrom = 600;

std::int32_t read32(std::span<const std::uint8_t, kLogicalFontSize> b, std::size_t at) {
  return static_cast<std::int32_t>(std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 |
                                   std::uint32_t{b[at + 2]} << 16 | std::uint32_t{b[at + 3]} << 24);
}

void write32(std::span<std::uint8_t, kLogicalFontSize> b, std::size_t at, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

desktop::FontChoice font_choice_of(std::span<const std::uint8_t, kLogicalFontSize> block) {
  desktop::FontChoice c;
  const auto face = block.subspan(kFaceName, kFaceNameField - 1);
  c.face.assign(face.begin(), std::find(face.begin(), face.end(), 0));
  const std::int64_t height = std::abs(static_cast<std::int64_t>(read32(block, kHeight)));
  if (height > 0) c.points = static_cast<int>(std::clamp<std::int64_t>(std::llround(height * 72.0 / 96.0), 1, 2000));
  const std::int32_t weight = read32(block, kWeight);
  c.style_chosen = weight != 0;
  c.bold = weight >= kBoldFrom;
  c.italic = block[kItalic] != 0;
  c.underline = block[kUnderline] != 0;
  c.strike_out = block[kStrikeOut] != 0;
  return c;
}

void write_font_choice(std::span<std::uint8_t, kLogicalFontSize> block, const desktop::FontChoice& choice) {
  write32(block, kHeight, choice.points > 0 ? -fonts::points_to_pixels(choice.points) : 0);
  write32(block, kWeight, choice.style_chosen ? (choice.bold ? kBoldWeight : kNormalWeight) : 0);
  block[kItalic] = choice.style_chosen && choice.italic ? 1 : 0;
  block[kUnderline] = choice.underline ? 1 : 0;
  block[kStrikeOut] = choice.strike_out ? 1 : 0;
  auto face = block.subspan(kFaceName, kFaceNameField);
  std::fill(face.begin(), face.end(), 0);
  std::copy_n(choice.face.begin(), std::min(choice.face.size(), kFaceNameField - 1), face.begin());
}

}  // namespace orvane::graphics
