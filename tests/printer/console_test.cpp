// The console terminal: line ends and the Windows-1252 / UTF-8 conversion.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/console.h"

namespace orvane::platform {
namespace {

std::string read_all(Console& console) {
  std::string got;
  for (int c; (c = console.read_char()) >= 0;) got += static_cast<char>(c);
  return got;
}

TEST(ConsoleTest, CarriageReturnsGoOutAsNewlinesOnFlushOnly) {
  std::istringstream in;
  std::ostringstream out;
  Console console(in, out);
  console.write("one\rtwo\r");
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(console.pending(), 8u);
  console.flush();
  EXPECT_EQ(out.str(), "one\ntwo\n");
  EXPECT_EQ(console.pending(), 0u);
}

TEST(ConsoleTest, AccentedTextIsConvertedToUtf8) {
  std::istringstream in;
  std::ostringstream out;
  Console console(in, out);
  console.write("caf\xe9 \x80 \x93x\x94 \x81");
  console.flush();
  EXPECT_EQ(out.str(), "caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d \xc2\x81");
}

TEST(ConsoleTest, InputNewlinesBecomeCarriageReturns) {
  std::istringstream in("a\nb\r\nc\rd");
  std::ostringstream out;
  Console console(in, out);
  EXPECT_EQ(read_all(console), "a\rb\rc\rd");
  EXPECT_EQ(console.read_char(), -1);
}

TEST(ConsoleTest, Utf8InputBecomesWindows1252) {
  std::istringstream in("\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xe4\xb8\xad \xe9t\xe9 \xc3");
  std::ostringstream out;
  Console console(in, out);
  // A character outside the code page reads as "?"; bytes that are no
  // UTF-8 are taken as they stand.
  EXPECT_EQ(read_all(console), "\xe9t\xe9 \x80 ? \xe9t\xe9 \xc3");
}

TEST(ConsoleTest, RoundTripOfEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c)
    if (c != 10 && c != 13) all += static_cast<char>(c);
  std::istringstream in(windows1252_to_utf8(all));
  std::ostringstream out;
  Console console(in, out);
  EXPECT_EQ(read_all(console), all);
}

TEST(ConsoleTest, PendingOutputIsFlushedBeforeReading) {
  std::istringstream in("x");
  std::ostringstream out;
  Console console(in, out);
  console.write("? ");
  EXPECT_EQ(console.read_char(), 'x');
  EXPECT_EQ(out.str(), "? ");
}

TEST(ConsoleTest, RedirectNests) {
  std::istringstream in;
  std::ostringstream out1, out2;
  Console first(in, out1), second(in, out2);
  {
    ConsoleRedirect a(first);
    EXPECT_EQ(&standard_console(), &first);
    {
      ConsoleRedirect b(second);
      EXPECT_EQ(&standard_console(), &second);
    }
    EXPECT_EQ(&standard_console(), &first);
  }
  EXPECT_NE(&standard_console(), &first);
}

}  // namespace
}  // namespace orvane::platform
