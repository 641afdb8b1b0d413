// Font Values and records, the faces they open, the list of installed
// faces and the font dialog's headless answer.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/fonts_record.h"
#include "graphics/offscreen.h"
#include "graphics/text_fonts.h"
#include "lib/lisp_test.h"
#include "platform/fonts/face_names.h"
#include "platform/fonts/symbol_faces.h"

namespace orvane {
namespace {

using testing::LispTest;

class FontRecordTest : public LispTest {
 protected:
  FontRecord record(std::string_view font_text) { return font_record_of(eval_text(font_text)); }
  int record_error(std::string_view font_text) {
    std::string form = "(font-record-of ";
    form += font_text;
    form += ")";
    return error_code(form);
  }
  void SetUp() override {
    LispTest::SetUp();
    defprim(
        "font-record-of", +[](Value font) { return make_font_value(font_record_of(font)); });
  }
};

TEST_F(FontRecordTest, FaceNamesAndBuiltInNumbers) {
  EXPECT_EQ(record("'(\"Arial\" 12 0)").name, "Arial");
  EXPECT_EQ(record("'(30 12 0)").name, "MS Sans Serif");
  EXPECT_EQ(record("'(-1 12 0)").name, "MS Sans Serif");
  EXPECT_EQ(record("'(11 12 0)").name, "Wingdings");
  EXPECT_EQ(record("'(23 12 0)").name, "Wingdings");
  EXPECT_EQ(record("'(4 12 0)").name, "Courier New");
  EXPECT_EQ(record("'(6 12 0)").name, "Roman");
  EXPECT_EQ(record("'(20 12 0)").name, "Times New Roman");
  EXPECT_EQ(record("'(24 12 0)").name, "System");
  // The name field holds 31 characters.
  EXPECT_EQ(record("(list (make-string 40) 12 0)").name.size(), FontRecord::kMaxName);
}

TEST_F(FontRecordTest, SizeAndStyleWordsAndTheValueAnswered) {
  FontRecord r = record("'(\"Arial\" 14 3)");
  EXPECT_EQ(r.size, 14);
  EXPECT_EQ(r.style, 3);
  // Missing elements read as 0; other style bits are carried.
  EXPECT_EQ(record("'(\"Arial\")").size, 0);
  EXPECT_EQ(record("'(\"Arial\" 9 4352)").style, 4352);
  EXPECT_TRUE(gives("(font-record-of '(9 10 5))", "(\"Times New Roman\" 10 5)"));
  EXPECT_TRUE(gives("(font-record-of '(\"Courier New\" -12 128))", "(\"Courier New\" -12 128)"));
}

TEST_F(FontRecordTest, TheStoredFormRoundTripsAndStaysInItsField) {
  const FontRecord r{0x83, -12, "Times New Roman", 0xBEEF};
  auto bytes = encode_font_record(r);
  EXPECT_EQ(bytes[0], 0x83);
  EXPECT_EQ(bytes[2], 0xF4);  // -12 little-endian
  EXPECT_EQ(bytes[3], 0xFF);
  EXPECT_EQ(bytes[4], 15);
  EXPECT_EQ(bytes[36], 0xEF);
  EXPECT_EQ(decode_font_record(bytes), r);
  // A damaged length byte reads no further than the name field.
  bytes[4] = 200;
  FontRecord damaged = decode_font_record(bytes);
  EXPECT_EQ(damaged.name.size(), FontRecord::kMaxName);
  EXPECT_EQ(damaged.extra, 0xBEEF);
}

TEST_F(FontRecordTest, BadFontValuesAreRefusedWithError2) {
  EXPECT_EQ(record_error("'(arial 12 0)"), 2);
  EXPECT_EQ(record_error("'(\"Arial\" \"12\" 0)"), 2);
  EXPECT_EQ(record_error("'(\"Arial\" 12 1.5)"), 2);
  EXPECT_EQ(record_error("'(\"Arial\" 40000 0)"), 2);
  EXPECT_EQ(record_error("'(\"Arial\" 12 70000)"), 2);
  EXPECT_EQ(record_error("\"Arial\""), 2);
  EXPECT_EQ(record_error("nil"), 2);
}

TEST_F(FontRecordTest, RecordsBecomeFontsAsWin32FontsWereMade) {
  FontRecord r{3, 20, "Arial", 0};
  fonts::FontRequest request = font_request_of(r);
  EXPECT_TRUE(request.bold);
  EXPECT_TRUE(request.italic);
  EXPECT_FALSE(request.underline);
  EXPECT_EQ(request.height, 20);
  EXPECT_FALSE(request.cell_height);
  // A negative size is the cell height.
  fonts::Font cell = font_of({0, -20, "Arial", 0});
  EXPECT_EQ(cell.metrics().line_height, 20);
  EXPECT_GT(font_of(r).metrics().line_height, 20);
  EXPECT_TRUE(font_request_of({0x84, 12, "Arial", 0}).underline);
  EXPECT_TRUE(font_request_of({0x84, 12, "Arial", 0}).strike_out);
  // Size 0 is the default height; sizes beyond a screen are drawn at the largest.
  EXPECT_EQ(font_of({0, 0, "Arial", 0}).metrics().line_height, kDefaultFontHeight);
  EXPECT_EQ(font_request_of({0, -32768, "Arial", 0}).height, kMaxFontHeight);
}

TEST_F(FontRecordTest, AFaceThatDoesNotExistIsServedByTheSubstitute) {
  fonts::Font unknown = font_of({0, 13, "No Such Face At All", 0});
  fonts::Font arial = font_of({0, 13, "Arial", 0});
  EXPECT_TRUE(unknown.substituted());
  EXPECT_EQ(unknown.family(), arial.family());
  EXPECT_EQ(unknown.text_width("Substitute"), arial.text_width("Substitute"));
  // A name ends at its first NUL; an empty name is served too.
  EXPECT_EQ(font_request_of({0, 13, std::string("Arial\0junk", 10), 0}).family, "Arial");
  EXPECT_GT(font_of({0, 13, "", 0}).metrics().line_height, 0);
}

TEST_F(FontRecordTest, WingdingsDrawsSymbolsThroughItsTable) {
  fonts::Font wingdings = font_of({0, 24, "Wingdings", 0});
  fonts::Font plain = font_of({0, 24, std::string(fonts::kSymbolFamily), 0});
  // 'J' is the smiling face, 0xFC the check mark: glyphs other than the letters.
  EXPECT_TRUE(wingdings.has_glyph('J'));
  EXPECT_TRUE(wingdings.has_glyph(0xFC));
  EXPECT_NE(wingdings.advance('J'), plain.advance('J'));
  // Every byte of the table has a glyph in the serving face.
  int mapped = 0;
  for (int byte = 0x21; byte < 256; ++byte)
    if (wingdings.has_glyph(static_cast<unsigned char>(byte))) ++mapped;
  EXPECT_GE(mapped, 85);
  EXPECT_FALSE(wingdings.has_glyph(0x24));  // no counterpart: the missing-glyph box
}

TEST_F(FontRecordTest, FontsListsEachInstalledFaceOnceSorted) {
  Value list = eval_text("Fonts");
  std::vector<std::string> names;
  for (Value l = list; is_pair(l); l = cdr(l)) {
    ASSERT_TRUE(is_string(car(l)));
    names.emplace_back(string_view_of(car(l)));
  }
  ASSERT_FALSE(names.empty());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  EXPECT_EQ(names, fonts::installed_families());
  for (const char* face : {"Arial", "Courier New", "MS Sans Serif", "Times New Roman", "Wingdings"})
    EXPECT_NE(std::find(names.begin(), names.end(), face), names.end()) << face;
  // The order is the one string<? gives.
  EXPECT_TRUE(
      gives("(let ((l Fonts) (ok t)) (while (cdr l) (if (not (string<? (car l) (cadr l))) (set! ok nil)) "
            "(set! l (cdr l))) ok)",
            "t"));
}

TEST_F(FontRecordTest, ChooseFontWithoutADesktopAnswersNilAndLeavesTheBlock) {
  EXPECT_TRUE(gives("(let ((b (new-ptr 60))) (mset 4 -16 b 0) (list (choose-font b) (mref 4 b 0)))", "(() -16)"));
  EXPECT_EQ(error_code("(choose-font 12)"), 2);
  EXPECT_EQ(error_code("(choose-font (new-ptr 10))"), 2) << "a block too small for a logical font";
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST_F(FontRecordTest, DrawStringOfAPortWritesInTheSystemFontAndMovesThePen) {
  graphics::Offscreen canvas{graphics::OffscreenSpec::of({0, 0, 120, 24})};
  canvas.port().move_to(2, 18);
  canvas.port().draw_string("Hello");
  FontRecord system;
  system.name = std::string(builtin_font_name(5));
  const int width = font_of(system).text_width("Hello");
  EXPECT_GT(width, 0);
  EXPECT_EQ(canvas.port().pen_position(), (raster::IntPoint{2 + width, 18}));
  int inked = 0;
  const raster::Surface& s = canvas.surface();
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) inked += s.color_at(x, y) == raster::colors::black;
  EXPECT_GT(inked, 10);
}

}  // namespace
}  // namespace orvane
