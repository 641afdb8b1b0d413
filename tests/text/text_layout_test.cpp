// Word wrapping and the text box, measured against the font's own advances.
#include "graphics/text_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/text_fonts.h"

namespace orvane {
namespace {

using raster::IntRect;

class TextLayoutTest : public ::testing::Test {
 protected:
  fonts::Font font = font_of({0, 13, "Arial", 0});
  int width(std::string_view s) const { return font.text_width(s); }
  std::vector<std::string> lines(std::string_view text, int w) const {
    std::vector<std::string> out;
    for (const TextLine& l : wrap_text(font, text, w)) out.emplace_back(text.substr(l.start, l.length));
    return out;
  }
  using Lines = std::vector<std::string>;
};

TEST_F(TextLayoutTest, LinesBreakAtTheLastSpaceBeforeTheOverflow) {
  const std::string text = "abcd abcd abcd abcd";
  // Exactly "abcd abcd" fits: the space after it overflows, so the line ends
  // at the last space that occurred on it; so does the second line.
  EXPECT_EQ(lines(text, width("abcd abcd")), (Lines{"abcd", "abcd", "abcd abcd"}));
  // With room for the space too, the next word overflows.
  EXPECT_EQ(lines(text, width("abcd abcd ")), (Lines{"abcd abcd", "abcd abcd"}));
  EXPECT_EQ(lines(text, width(text)), (Lines{text}));
  EXPECT_EQ(lines(text, width(text) - 1), (Lines{"abcd abcd abcd", "abcd"}));
}

TEST_F(TextLayoutTest, ReturnsAndSpacesBetweenLines) {
  EXPECT_EQ(lines("one\rtwo", 1000), (Lines{"one", "two"}));
  EXPECT_EQ(lines("one\r\rtwo", 1000), (Lines{"one", "", "two"}));
  EXPECT_EQ(lines("one\r", 1000), (Lines{"one"}));
  EXPECT_EQ(lines("\r", 1000), (Lines{""}));
  // Spaces after a wrapped line are skipped, then one carriage return.
  EXPECT_EQ(lines("aa    \rbb", width("aa")), (Lines{"aa", "bb"}));
  EXPECT_EQ(lines("aa    \r\rbb", width("aa")), (Lines{"aa", "", "bb"}));
}

TEST_F(TextLayoutTest, ALongWordTakesAtLeastOneCharacterALine) {
  EXPECT_TRUE(wrap_text(font, "", 100).empty());
  EXPECT_EQ(wrapped_text_height(font, "", 100), 0);
  const std::string word = "incomprehensibilities";
  const int w = width("incompre");
  Lines got = lines(word, w);
  ASSERT_GE(got.size(), 2u);
  std::string joined;
  for (const std::string& l : got) {
    EXPECT_FALSE(l.empty());
    EXPECT_LE(width(l), w);
    joined += l;
  }
  EXPECT_EQ(joined, word);
  EXPECT_EQ(got.front(), "incompre");
  // No width at all: one character a line.
  EXPECT_EQ(lines("abc", 0), (Lines{"a", "b", "c"}));
  EXPECT_EQ(wrapped_text_height(font, "abc", -5), 3 * font.metrics().line_height);
}

TEST_F(TextLayoutTest, TheFittingPrefixIsTheLongestThatFits) {
  const std::string text = "The quick brown fox\rjumps";
  for (int w : {0, 1, width("T"), width("The q") - 1, width("The q"), width(text), 10000}) {
    std::size_t n = fitting_prefix(font, text, w);
    std::size_t linear = 0;
    while (linear < 19 && width(std::string_view(text).substr(0, linear + 1)) <= w) ++linear;
    EXPECT_EQ(n, linear) << "width " << w;
  }
}

TEST_F(TextLayoutTest, TextBoxPlacesLinesByTheJustificationCode) {
  const fonts::FontMetrics& m = font.metrics();
  const IntRect box{10, 20, 210, 220};
  const std::string text = "short\rsomewhat longer line";
  const int w0 = width("short"), w1 = width("somewhat longer line");
  const int block = 2 * m.line_height;

  auto top_left = lay_out_text_box(font, text, box, 0, false);
  ASSERT_EQ(top_left.size(), 2u);
  EXPECT_EQ(top_left[0].pen, (raster::IntPoint{10, 20 + m.ascent}));
  EXPECT_EQ(top_left[1].pen, (raster::IntPoint{10, 20 + m.ascent + m.line_height}));
  EXPECT_EQ(top_left[1].width, w1);

  auto centred = lay_out_text_box(font, text, box, 1, false);
  EXPECT_EQ(centred[0].pen.x, 10 + (200 - w0) / 2);
  EXPECT_EQ(centred[1].pen.x, 10 + (200 - w1) / 2);

  auto right = lay_out_text_box(font, text, box, 2, false);
  EXPECT_EQ(right[0].pen.x, 210 - w0);

  // 9: bottom and centred.
  auto bottom_centred = lay_out_text_box(font, text, box, 9, false);
  EXPECT_EQ(bottom_centred[0].pen, (raster::IntPoint{10 + (200 - w0) / 2, 220 - block + m.ascent}));
  EXPECT_EQ(bottom_centred[1].pen.y, 220 - block + m.ascent + m.line_height);
  // 8: bottom and left; 10: bottom and right; 7 leaves -1: right.
  EXPECT_EQ(lay_out_text_box(font, text, box, 8, false)[0].pen.x, 10);
  EXPECT_EQ(lay_out_text_box(font, text, box, 10, false)[0].pen.x, 210 - w0);
  EXPECT_EQ(lay_out_text_box(font, text, box, 7, false)[0].pen.x, 210 - w0);

  // 4, 5, 6: centred vertically, then left, centred, right.
  const int middle = 20 + (200 - block) / 2 + m.ascent;
  EXPECT_EQ(lay_out_text_box(font, text, box, 4, false)[0].pen, (raster::IntPoint{10, middle}));
  EXPECT_EQ(lay_out_text_box(font, text, box, 5, false)[0].pen.x, 10 + (200 - w0) / 2);
  EXPECT_EQ(lay_out_text_box(font, text, box, 6, false)[0].pen.x, 210 - w0);
}

TEST_F(TextLayoutTest, BottomAlignmentOnlyWhenTheTextIsShorterThanTheBox) {
  const IntRect low{0, 0, 300, font.metrics().line_height};
  auto placed = lay_out_text_box(font, "one\rtwo\rthree", low, 8, false);
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ(placed[0].pen.y, font.metrics().ascent);
}

TEST_F(TextLayoutTest, FirstLineOnlyDrawsTheFittingPartOfTheFirstLine) {
  const std::string text = "A first line that is long\rsecond";
  const int w = width("A first line");
  auto placed = lay_out_text_box(font, text, {0, 0, w, 100}, 8, true);
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_EQ(text.substr(0, placed[0].line.length), "A first line");
  // Its height counts as one line for the vertical placement.
  EXPECT_EQ(placed[0].pen.y, 100 - font.metrics().line_height + font.metrics().ascent);
}

}  // namespace
}  // namespace orvane
