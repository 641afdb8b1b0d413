// Number tokens: characters that start with a digit or a sign are collected
// and converted to an integer or a real when their text has that form, and
// interned as a symbol otherwise.
#include "reader/reader_numbers.h"

#include <charconv>
#include <limits>
#include <string>

#include "core/memory.h"
#include "eval/errors.h"
#include "lib/real_text.h"
#include "reader/reader_state.h"

namespace orvane {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::size_t count_digits(std::string_view text, std::size_t pos) {
  std::size_t n = 0;
  while (pos + n < text.size() && is_digit(text[pos + n])) ++n;
  return n;
}

// The power of ten of the leading digit of a real's text, for telling an
// overflow from an underflow when the value is out of range.
long decimal_exponent(std::string_view mantissa, long exponent) {
  std::size_t point = mantissa.find('.');
  std::string_view whole = mantissa.substr(0, point);
  std::size_t first = whole.find_first_not_of('0');
  if (first != std::string_view::npos) return exponent + static_cast<long>(whole.size() - first);
  if (point == std::string_view::npos) return exponent;
  std::string_view fraction = mantissa.substr(point + 1);
  std::size_t nonzero = fraction.find_first_not_of('0');
  return exponent - static_cast<long>(nonzero == std::string_view::npos ? fraction.size() : nonzero);
}

}  // namespace

std::optional<std::int32_t> integer_of_text(std::string_view text) {
  text = trim_blanks(text);
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || count_digits(text, 0) != text.size()) return std::nullopt;
  // Leading zeros do not count against the range.
  std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (char c : text) {
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<double> real_of_text(std::string_view text) {
  text = trim_blanks(text);
  std::size_t pos = text.empty() || text.front() != '-' ? 0 : 1;
  std::size_t whole = count_digits(text, pos);
  pos += whole;
  std::size_t fraction = 0;
  if (pos < text.size() && text[pos] == '.') {
    fraction = count_digits(text, pos + 1);
    pos += 1 + fraction;
  }
  if (whole + fraction == 0) return std::nullopt;
  std::size_t mantissa_end = pos;
  long exponent = 0;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    std::size_t sign = pos + 1 < text.size() && (text[pos + 1] == '+' || text[pos + 1] == '-') ? 1 : 0;
    std::size_t digits = count_digits(text, pos + 1 + sign);
    if (digits == 0) return std::nullopt;
    for (std::size_t i = 0; i < digits; ++i) {
      exponent = std::min(exponent * 10 + (text[pos + 1 + sign + i] - '0'), 100000L);
    }
    if (sign && text[pos + 1] == '-') exponent = -exponent;
    pos += 1 + sign + digits;
  }
  if (pos != text.size()) return std::nullopt;

  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    bool negative = text.front() == '-';
    std::string_view mantissa = text.substr(negative ? 1 : 0, mantissa_end - (negative ? 1 : 0));
    value = decimal_exponent(mantissa, exponent) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
  }
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The token ends at the first character that is not a digit, a sign, a
// symbol character, an escape or the decimal mark. The decimal mark counts
// as one only after a digit; before any digit it is an ordinary character of
// its type, so "e.x" reads as e followed by a dot token.
Token read_number_token() {
  char buffer[kMaxTokenLength + 1];
  std::size_t n = 0;
  int marks = 0, digits = 0, escapes = 0;
  std::size_t mark_at = 0;
  for (;;) {
    int c = g_reader.current;
    if (c == kEndOfInput) break;
    std::uint8_t t = char_type(static_cast<unsigned char>(c));
    if (c == static_cast<unsigned char>(g_decimal_mark) && digits > 0) {
      ++marks;
      mark_at = n;
    } else if (t == chartype::digit) {
      ++digits;
    } else if (t == chartype::escape) {
      advance();
      c = g_reader.current;
      if (c == kEndOfInput) break;
      ++escapes;
    } else if (t != chartype::symbol && t != chartype::sign) {
      break;
    }
    if (n == kMaxTokenLength) raise_error(2, kNil);
    buffer[n++] = static_cast<char>(c);
    advance();
  }
  std::string_view text(buffer, n);
  if (escapes == 0 && digits >= 1 && marks <= 1) {
    if (marks == 0) {
      if (auto i = integer_of_text(text)) return Token::datum(make_integer(*i));
      if (auto d = real_of_text(text)) return Token::datum(make_real(*d));
    } else {
      std::string normalized(text);
      normalized[mark_at] = '.';
      if (auto d = real_of_text(normalized)) return Token::datum(make_real(*d));
    }
  }
  return Token::datum(intern_token_name(text));
}

}  // namespace orvane
