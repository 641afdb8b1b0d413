// The conversion primitives on memory blocks and strings.
#include "charsets_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;
using namespace std::string_literals;

using ConvertTest = CharsetsTest;

TEST_F(ConvertTest, MacToIbmGrowsCarriageReturnsInPlace) {
  HandleId h = handle_text("buf", "a\rb", 1);
  EXPECT_TRUE(gives("(mac->ibm buf 4 3 nil)", "4"));
  EXPECT_EQ(handle_string(h), "a\r\nb");
}

TEST_F(ConvertTest, MacToIbmWithoutRoomAnswersNilAndChangesNothing) {
  HandleId h = handle_text("buf", "a\rb", 1);
  EXPECT_TRUE(gives("(mac->ibm buf 3 3 nil)", "()"));
  EXPECT_EQ(handle_string(h), "a\rb\0"s);
}

TEST_F(ConvertTest, MacToIbmLeavesWindowsTextAlone) {
  HandleId h = handle_text("buf", "\x8E\r\nx", 4);
  EXPECT_TRUE(gives("(mac->ibm buf 8 4 nil)", "4"));
  EXPECT_EQ(handle_string(h), "\x8E\r\nx\0\0\0\0"s);
}

TEST_F(ConvertTest, MacToIbmTranslatesCharacters) {
  HandleId h = handle_text("buf", "\x8E\xD0\xDB!", 0);
  EXPECT_TRUE(gives("(mac->ibm buf 4 4 nil)", "4"));
  EXPECT_EQ(handle_string(h), "\xE9\xAD\xA4!");
}

TEST_F(ConvertTest, MacToIbmWithoutCounterpartChangesNothing) {
  // The infinity sign has no Windows counterpart; the carriage return
  // before it must not have been expanded either.
  HandleId h = handle_text("buf", "\x8E\r\xB0x", 2);
  EXPECT_TRUE(gives("(mac->ibm buf 6 4 nil)", "(176)"));
  EXPECT_EQ(handle_string(h), "\x8E\r\xB0x\0\0"s);
}

TEST_F(ConvertTest, MacToIbmReportsTheLastCharacterWithoutCounterpart) {
  handle_text("buf", "\xAD\xB0", 0);
  EXPECT_TRUE(gives("(mac->ibm buf 2 2 nil)", "(176)"));
}

TEST_F(ConvertTest, MacToIbmKeepsControlCodesOnRequest) {
  HandleId h = handle_text("buf", "\x01\x8E", 0);
  EXPECT_TRUE(gives("(mac->ibm buf 2 2 nil)", "(1)"));
  EXPECT_TRUE(gives("(mac->ibm buf 2 2 t)", "2"));
  EXPECT_EQ(handle_string(h), "\x01\xE9");
}

TEST_F(ConvertTest, MacToIbmRefusesBytesOutsideTheBlock) {
  handle_text("buf", "a\rb", 0);
  EXPECT_EQ(error_code("(mac->ibm buf 10 3 nil)"), 2);  // 4 bytes do not fit
  EXPECT_EQ(error_code("(mac->ibm buf 10 9 nil)"), 2);
  EXPECT_EQ(error_code("(mac->ibm buf 10 -1 nil)"), 2);
  EXPECT_EQ(error_code("(mac->ibm 5 10 1 nil)"), 2);
}

TEST_F(ConvertTest, MacToIbmWorksOnPointerBlocks) {
  WorldAddress p = pointer_text("ptr", "x\ry.");
  EXPECT_TRUE(gives("(mac->ibm ptr 4 3 nil)", "4"));
  EXPECT_EQ(pointer_string(p, 4), "x\r\ny");
}

TEST_F(ConvertTest, MacToIbmPtrConvertsButLeavesLineEnds) {
  HandleId h = handle_text("buf", "\x8E\r\xD2", 0);
  EXPECT_TRUE(gives("(mac->ibm-ptr buf 3 nil)", "()"));
  EXPECT_EQ(handle_string(h), "\xE9\r\x93");
}

TEST_F(ConvertTest, MacToIbmPtrAnswersTheFirstCodeWithoutCounterpart) {
  HandleId h = handle_text("buf", "\xB0\x8E\xAD", 0);
  EXPECT_TRUE(gives("(mac->ibm-ptr buf 3 nil)", "176"));
  EXPECT_EQ(handle_string(h), "\xB0\xE9\xAD");
}

TEST_F(ConvertTest, MacToIbmPtrKeepsCompactEncodingOperands) {
  // Code 12 introduces a two-byte fixnum, code 11 a one-byte one; their
  // operands are numbers, not characters.
  HandleId h = handle_text("buf", "\x0C\x8E\x8E\x0B\x8E\x8E", 0);
  EXPECT_TRUE(gives("(mac->ibm-ptr buf 6 t)", "()"));
  EXPECT_EQ(handle_string(h), "\x0C\x8E\x8E\x0B\x8E\xE9");
  HandleId g = handle_text("buf2", "\x0C\x8E", 0);
  EXPECT_TRUE(gives("(mac->ibm-ptr buf2 2 nil)", "12"));
  EXPECT_EQ(handle_string(g), "\x0C\xE9");
}

TEST_F(ConvertTest, MacToIbmPtrOperandsAtTheEndStayInsideTheText) {
  HandleId h = handle_text("buf", "\x0C\x8E\x8E", 1);
  EXPECT_TRUE(gives("(mac->ibm-ptr buf 2 t)", "()"));
  EXPECT_EQ(handle_string(h), "\x0C\x8E\x8E\0"s);
}

TEST_F(ConvertTest, IbmToMacDropsLineFeeds) {
  HandleId h = handle_text("buf", "a\r\nb", 0);
  EXPECT_TRUE(gives("(ibm->mac buf nil 4)", "3"));
  EXPECT_EQ(handle_string(h).substr(0, 3), "a\rb");
}

TEST_F(ConvertTest, IbmToMacTurnsCharactersWithoutCounterpartIntoZero) {
  HandleId h = handle_text("buf", "\xE9\x80\xAD", 0);
  EXPECT_TRUE(gives("(ibm->mac buf nil 3)", "3"));
  EXPECT_EQ(handle_string(h), "\x8E\0\xD0"s);
}

TEST_F(ConvertTest, IsoToMac) {
  HandleId h = handle_text("buf", "\xE9\xD6", 0);
  EXPECT_TRUE(gives("(iso->mac buf nil 2 nil)", "2"));
  EXPECT_EQ(handle_string(h), "\x8E\x85");
  HandleId g = handle_text("buf2", "\xE9\xDF\xFF", 0);
  EXPECT_TRUE(gives("(iso->mac buf2 nil 3 nil)", "(223)"));
  EXPECT_EQ(handle_string(g), "\x8E\xDF\xFF");
}

TEST_F(ConvertTest, IsoToMacRefusesEvenTheEndOfTextControl) {
  handle_text("buf", "\x03", 0);
  EXPECT_TRUE(gives("(iso->mac buf nil 1 nil)", "(3)"));
}

TEST_F(ConvertTest, StringConversions) {
  bind_string("s", "caf\x8E\r");
  EXPECT_EQ(string_of("(mac->ibm-string s)"), "caf\xE9\r");
  bind_string("w", "caf\xE9");
  EXPECT_EQ(string_of("(ibm->mac-string w)"), "caf\x8E");
  bind_string("bad", "\xB0");
  EXPECT_TRUE(gives("(mac->ibm-string bad)", "()"));
  bind_string("euro", "\x80");
  EXPECT_TRUE(gives("(ibm->mac-string euro)", "()"));
  EXPECT_EQ(string_of("(mac->ibm-string 'abc)"), "abc");
  EXPECT_EQ(string_of("(mac->ibm-string 42)"), "42");
}

TEST_F(ConvertTest, StringConversionDoesNotChangeItsArgument) {
  bind_string("s", "\x8E");
  string_of("(mac->ibm-string s)");
  EXPECT_EQ(string_view_of(symbol_global(sym("s"))), "\x8E");
}

TEST_F(ConvertTest, LongStringsAreConvertedWhole) {
  std::string text(5000, 'x');
  text.back() = '\x8E';
  bind_string("s", text);
  std::string got = string_of("(mac->ibm-string s)");
  ASSERT_EQ(got.size(), 5000u);
  EXPECT_EQ(got.back(), '\xE9');
}

TEST_F(ConvertTest, BufferGetString) {
  handle_text("buf", "hello world", 0);
  EXPECT_EQ(string_of("(buffer-get-string buf nil 6 11)"), "world");
  EXPECT_EQ(string_of("(buffer-get-string buf nil 5 0)"), "hello");
  EXPECT_EQ(string_of("(buffer-get-string buf nil 3 3)"), "");
  EXPECT_EQ(error_code("(buffer-get-string buf nil 6 12)"), 2);
  EXPECT_EQ(error_code("(buffer-get-string buf nil -1 3)"), 2);
}

}  // namespace
}  // namespace orvane
