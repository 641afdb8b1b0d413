#include "platform/console.h"

#include <iostream>
#include <string>

namespace orvane::platform {

namespace {

constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kNewline = 10;
// Collected output is sent out at the latest when it reaches this size.
constexpr std::size_t kCollectLimit = 4096;

Console* g_redirected = nullptr;

}  // namespace

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

  // A UTF-8 sequence: as many continuation bytes as the lead byte asks for.
  const std::size_t length = utf8_sequence_length(static_cast<unsigned char>(b));
  std::string sequence(1, static_cast<char>(b));
  while (sequence.size() < length) {
    int next = read_byte();
    if (next < 0) break;
    sequence += static_cast<char>(next);
    if ((next & 0xc0) != 0x80) break;
  }
  auto decoded = decode_utf8(sequence);
  if (!decoded) {
    // Not UTF-8 after all: give the bytes back and take the lead as it is.
    for (std::size_t i = sequence.size(); i > 1; --i)
      lookahead_.push_front(static_cast<unsigned char>(sequence[i - 1]));
    return b;
  }
  int mapped = unicode_to_windows1252(decoded->code_point);
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
