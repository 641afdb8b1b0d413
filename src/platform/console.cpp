#include "platform/console.h"

#include <array>
#include <iostream>

namespace orvane::platform {

namespace {

constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kNewline = 10;
// Collected output is sent out at the latest when it reaches this size.
constexpr std::size_t kCollectLimit = 4096;

// Unicode characters of the bytes 0x80-0x9f; the undefined five map to the
// code points of the same number.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t windows1252_to_unicode(unsigned char c) {
  if (c >= 0x80 && c < 0xa0) return kHighControls[c - 0x80];
  return c;
}

void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xc0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  } else {
    out += static_cast<char>(0xe0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  }
}

Console* g_redirected = nullptr;

}  // namespace

std::string windows1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) append_utf8(out, windows1252_to_unicode(static_cast<unsigned char>(ch)));
  return out;
}

int unicode_to_windows1252(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xa0 && cp <= 0xff)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

// --- Console ----------------------------------------------------------------

Console::Console() : Console(std::cin, std::cout) {}
Console::Console(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
Console::~Console() { flush(); }

void Console::write_char(unsigned char c) {
  collected_ += static_cast<char>(c);
  if (collected_.size() >= kCollectLimit) flush();
}

void Console::write(std::string_view text) {
  for (char c : text) write_char(static_cast<unsigned char>(c));
}

void Console::flush() {
  if (!collected_.empty()) {
    std::string out;
    out.reserve(collected_.size());
    for (char ch : collected_) {
      auto c = static_cast<unsigned char>(ch);
      if (c == kCarriageReturn) out += '\n';
      else append_utf8(out, windows1252_to_unicode(c));
    }
    collected_.clear();
    out_.write(out.data(), static_cast<std::streamsize>(out.size()));
  }
  out_.flush();
}

int Console::read_byte() {
  if (!lookahead_.empty()) {
    int b = lookahead_.front();
    lookahead_.pop_front();
    return b;
  }
  int b = in_.get();
  return b == std::char_traits<char>::eof() ? -1 : b;
}

int Console::read_char() {
  if (lookahead_.empty() && !collected_.empty()) flush();
  int b = read_byte();
  if (b < 0) return -1;
  if (b == kNewline) return kCarriageReturn;
  if (b == kCarriageReturn) {
    int next = read_byte();
    if (next >= 0 && next != kNewline) lookahead_.push_front(next);
    return kCarriageReturn;
  }
  if (b < 0x80) return b;

  // A UTF-8 sequence: its length from the lead byte, then continuation bytes.
  int length = b >= 0xf0 && b <= 0xf4 ? 4 : b >= 0xe0 && b <= 0xef ? 3 : b >= 0xc2 && b <= 0xdf ? 2 : 0;
  if (length == 0) return b;
  std::uint32_t cp = static_cast<std::uint32_t>(b) & (0xff >> (length + 1));
  std::array<int, 3> continuation{};
  for (int i = 0; i < length - 1; ++i) {
    int next = read_byte();
    continuation[i] = next;
    if (next < 0 || (next & 0xc0) != 0x80) {
      // Not UTF-8 after all: give the bytes back and take the lead as it is.
      for (int j = i; j >= 0; --j)
        if (continuation[j] >= 0) lookahead_.push_front(continuation[j]);
      return b;
    }
    cp = (cp << 6) | static_cast<std::uint32_t>(next & 0x3f);
  }
  int mapped = unicode_to_windows1252(cp);
  return mapped < 0 ? '?' : mapped;
}

// --- The terminal's console ---------------------------------------------------

Console& standard_console() {
  if (g_redirected) return *g_redirected;
  static Console console;
  return console;
}

ConsoleRedirect::ConsoleRedirect(Console& console) : saved_(g_redirected) { g_redirected = &console; }
ConsoleRedirect::~ConsoleRedirect() { g_redirected = saved_; }

}  // namespace orvane::platform
