// The logical-font block of `choose-font`: what the dialog starts from and
// what a confirmed choice writes back, little-endian as the run-time's
// records are.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "graphics/logical_font.h"

namespace orvane::graphics {
namespace {

using Block = std::array<std::uint8_t, kLogicalFontSize>;

void put32(Block& b, std::size_t at, std::int32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}
std::int32_t get32(const Block& b, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{b[at + i]} << (8 * i);
  return static_cast<std::int32_t>(v);
}

TEST(LogicalFont, TheBlockGivesTheDialogsStartingChoice) {
  Block b{};
  put32(b, 0, -16);  // a 16-pixel character height: 12 points
  put32(b, 16, 700);
  b[20] = 1;
  b[22] = 1;
  std::memcpy(&b[28], "Times New Roman", 15);
  desktop::FontChoice c = font_choice_of(b);
  EXPECT_EQ(c, (desktop::FontChoice{"Times New Roman", 12, true, true, true, false, true}));

  put32(b, 0, 20);   // a positive (cell) height counts by its size too
  put32(b, 16, 400);
  c = font_choice_of(b);
  EXPECT_EQ(c.points, 15);
  EXPECT_FALSE(c.bold);

  Block empty{};
  EXPECT_EQ(font_choice_of(empty), (desktop::FontChoice{"", 0, false, false, false, false, false}))
      << "an empty face, height or weight leaves that choice mixed";

  Block unterminated{};
  std::memset(&unterminated[28], 'x', 32);
  EXPECT_EQ(font_choice_of(unterminated).face, std::string(31, 'x')) << "a name without its NUL stops at 31";
  put32(unterminated, 0, INT32_MIN);
  EXPECT_EQ(font_choice_of(unterminated).points, 2000) << "an absurd height is bounded, not overflowed";
}

TEST(LogicalFont, AConfirmedChoiceIsWrittenBackAndMixedChoicesCleared) {
  Block b{};
  std::memset(b.data(), 0x5A, b.size());
  write_font_choice(b, {"Arial", 12, true, true, false, true, false});
  EXPECT_EQ(get32(b, 0), -16);
  EXPECT_EQ(get32(b, 16), 700);
  EXPECT_EQ(b[20], 0);
  EXPECT_EQ(b[21], 1);
  EXPECT_EQ(b[22], 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[28]), "Arial");
  EXPECT_EQ(b[59], 0) << "the rest of the name field is cleared";
  EXPECT_EQ(get32(b, 4), 0x5A5A5A5A) << "the width is the caller's";
  EXPECT_EQ(b[23], 0x5A) << "the character set is the caller's";

  write_font_choice(b, {"", 0, false, true, true, false, false});
  EXPECT_EQ(get32(b, 0), 0);
  EXPECT_EQ(get32(b, 16), 0);
  EXPECT_EQ(b[20], 0) << "a mixed style clears italic with the weight";
  EXPECT_EQ(b[28], 0);

  write_font_choice(b, {std::string(40, 'y'), 10, true, false, false, false, false});
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(&b[28])), 31u) << "a long name keeps its NUL";
}

}  // namespace
}  // namespace orvane::graphics
