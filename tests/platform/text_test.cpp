#include "platform/text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/console.h"

namespace orvane::platform {
namespace {

// --- The UTF-8 decoder ---------------------------------------------------------

bool decodes(std::string_view bytes) { return decode_utf8(bytes).has_value(); }
// The code point decoded at the front, or 0xFFFFFFFF for none.
std::uint32_t code_point(std::string_view bytes) {
  auto decoded = decode_utf8(bytes);
  return decoded ? std::uint32_t{decoded->code_point} : 0xFFFFFFFFu;
}

TEST(Utf8Decoder, TakesEveryValidLength) {
  EXPECT_EQ(code_point("A"), std::uint32_t{U'A'});
  EXPECT_EQ(code_point("\xC3\xA9"), std::uint32_t{U'\u00E9'});
  EXPECT_EQ(code_point("\xE2\x82\xAC"), std::uint32_t{U'\u20AC'});
  auto four = decode_utf8("\xF0\x9F\x98\x80 and more");
  ASSERT_TRUE(four);
  EXPECT_EQ(std::uint32_t{four->code_point}, 0x1F600u);
  EXPECT_EQ(four->length, 4u);
  EXPECT_EQ(code_point("\xF4\x8F\xBF\xBF"), std::uint32_t{char32_t{0x10FFFF}});
  EXPECT_EQ(code_point("\xEF\xBF\xBF"), std::uint32_t{char32_t{0xFFFF}});
}

TEST(Utf8Decoder, RefusesLoneContinuationBytesAndBadLeads) {
  for (int b = 0x80; b < 0xc0; ++b) EXPECT_FALSE(decodes(std::string(1, static_cast<char>(b)) + "\x80")) << b;
  for (int b : {0xc0, 0xc1, 0xf5, 0xf8, 0xfe, 0xff}) EXPECT_FALSE(decodes(std::string(1, static_cast<char>(b)) + "\x80\x80\x80")) << b;
  EXPECT_FALSE(decodes(""));
}

TEST(Utf8Decoder, RefusesTruncatedAndBrokenSequences) {
  EXPECT_FALSE(decodes("\xC3"));
  EXPECT_FALSE(decodes("\xE2\x82"));
  EXPECT_FALSE(decodes("\xF0\x9F\x98"));
  // A continuation byte replaced by something else: the REPL once took the
  // "(" after a lone lead byte as part of the character.
  EXPECT_FALSE(decodes("\xC3("));
  EXPECT_FALSE(decodes("\xE2\x82("));
  EXPECT_FALSE(decodes("\xE2(\xAC"));
  EXPECT_FALSE(decodes("\xF0\x9F\x98\xC3"));
}

TEST(Utf8Decoder, RefusesOverlongFormsSurrogatesAndValuesPastUnicode) {
  EXPECT_FALSE(decodes("\xC0\xAF"));
  EXPECT_FALSE(decodes("\xC1\xBF"));
  EXPECT_FALSE(decodes("\xE0\x80\x80"));
  EXPECT_FALSE(decodes("\xE0\x9F\xBF"));
  EXPECT_FALSE(decodes("\xF0\x8F\xBF\xBF"));
  EXPECT_FALSE(decodes("\xED\xA0\x80"));  // U+D800
  EXPECT_FALSE(decodes("\xED\xBF\xBF"));  // U+DFFF
  EXPECT_TRUE(decodes("\xED\x9F\xBF"));   // U+D7FF
  EXPECT_FALSE(decodes("\xF4\x90\x80\x80"));  // U+110000
  EXPECT_TRUE(decodes("\xE0\xA0\x80"));       // U+0800, the smallest three-byte form
}

TEST(Utf8Decoder, ValidTextIsValidThroughout) {
  EXPECT_TRUE(is_valid_utf8(""));
  EXPECT_TRUE(is_valid_utf8("caf\xC3\xA9 \xE2\x82\xAC"));
  EXPECT_FALSE(is_valid_utf8("caf\xE9"));
  EXPECT_FALSE(is_valid_utf8("ok\xC3"));
}

TEST(Utf8Encoder, RoundTripsEveryScalarValue) {
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string bytes;
    append_utf8(bytes, cp);
    auto decoded = decode_utf8(bytes);
    ASSERT_TRUE(decoded) << std::uint32_t{cp};
    ASSERT_EQ(std::uint32_t{decoded->code_point}, std::uint32_t{cp});
    ASSERT_EQ(decoded->length, bytes.size());
  }
}

// --- Windows-1252 ----------------------------------------------------------------

TEST(Windows1252, AllBytesRoundTripThroughUtf8) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  std::string utf8 = windows1252_to_utf8(all);
  EXPECT_TRUE(is_valid_utf8(utf8));
  EXPECT_EQ(utf8_to_windows1252(utf8), all);
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(unicode_to_windows1252(windows1252_to_unicode(static_cast<unsigned char>(c))), c) << c;
}

TEST(Windows1252, KnowsTheCodePage) {
  EXPECT_EQ(std::uint32_t{windows1252_to_unicode(0x80)}, std::uint32_t{U'\u20AC'});
  EXPECT_EQ(std::uint32_t{windows1252_to_unicode(0x9F)}, std::uint32_t{U'\u0178'});
  EXPECT_EQ(std::uint32_t{windows1252_to_unicode(0xE9)}, std::uint32_t{U'\u00E9'});
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_FALSE(windows1252_defines(undefined));
    EXPECT_EQ(std::uint32_t{windows1252_to_unicode(undefined)}, std::uint32_t{undefined});
  }
  EXPECT_TRUE(windows1252_defines(0x80));
  EXPECT_EQ(unicode_to_windows1252(0x2022), 0x95);
  EXPECT_EQ(unicode_to_windows1252(0x0085), -1);  // a C1 control the code page has no place for
  EXPECT_EQ(unicode_to_windows1252(0x0100), -1);
  EXPECT_EQ(unicode_to_windows1252(0x1F600), -1);
}

TEST(Windows1252, FromUtf8UnknownCharactersAreQuestionMarksAndBadBytesStand) {
  EXPECT_EQ(utf8_to_windows1252("\xE2\x82\xAC \xC3\xA9 \xC5\x93"), "\x80 \xE9 \x9C");
  EXPECT_EQ(utf8_to_windows1252("\xE2\x98\x83|\xF0\x9F\x98\x80"), "?|?");
  EXPECT_EQ(utf8_to_windows1252("\xC3("), "\xC3(");
  EXPECT_EQ(utf8_to_windows1252("\x80\xBF"), "\x80\xBF");
  EXPECT_EQ(utf8_to_windows1252("\xE0\x80\x80"), "\xE0\x80\x80");  // overlong NUL stays three bytes
  EXPECT_EQ(utf8_to_windows1252("\xED\xA0\x80"), "\xED\xA0\x80");
}

// --- The console reads by the same rules ------------------------------------------

std::string console_reads(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Console console(in, out);
  std::string got;
  for (int c; (c = console.read_char()) >= 0;) got += static_cast<char>(c);
  return got;
}

TEST(Windows1252, TheConsoleReadsAsTheConversionDoes) {
  for (std::string input : {"caf\xC3\xA9\n", "\xC3(", "\xE0\x80\x80!", "\xED\xA0\x80", "\xF0\x9F\x98\x80.",
                            "\xE2\x82", "\x80\xBF", "\xF4\x90\x80\x80"}) {
    std::string expected = utf8_to_windows1252(input);
    for (char& c : expected)
      if (c == '\n') c = '\r';
    EXPECT_EQ(console_reads(input), expected) << input;
  }
}

// --- Letter case -----------------------------------------------------------------

TEST(LetterCase, OneTableBothWays) {
  for (int c = 0; c < 256; ++c) {
    if (kUpperCase[c] != c) {
      EXPECT_EQ(kLowerCase[kUpperCase[c]], c) << c;
    }
    if (kLowerCase[c] != c) {
      EXPECT_EQ(kUpperCase[kLowerCase[c]], c) << c;
    }
  }
  EXPECT_EQ(windows1252_upper('a'), 'A');
  EXPECT_EQ(windows1252_upper(0xE9), 0xC9);
  EXPECT_EQ(windows1252_upper(0xF7), 0xF7);  // the division sign is no letter
  EXPECT_EQ(windows1252_upper(0xFF), 0xFF);
  EXPECT_EQ(windows1252_upper(0x9A), 0x9A);
  EXPECT_EQ(kLowerCase[0xD7], 0xD7);  // nor is the multiplication sign
  EXPECT_TRUE(names_equal_ignoring_case("Scores.DB", "SCORES.db"));
}

}  // namespace
}  // namespace orvane::platform
