// The text of Values, the collation order, and parsing numbers from text.
#include <charconv>
#include <string>

#include "core/memory.h"
#include "core/symbols.h"
#include "lib/real_text.h"
#include "lib/strings.h"
#include "reader/printer.h"

namespace orvane {

// --- Text of a Value ---------------------------------------------------------------

std::string_view text_view(Value v, std::string& storage) {
  if (is_string(v)) return string_view_of(v);
  if (is_symbol(v)) return symbol_name(v);
  if (is_integer(v)) {
    storage = std::to_string(integer_unchecked(v));
  } else if (is_real(v)) {
    storage = real_to_text(real_of(v));
  } else {
    storage = value_to_text(v);
    if (storage.size() > kPrintedTextLimit) storage.resize(kPrintedTextLimit);
  }
  return storage;
}

Value text_of(Value v) {
  if (is_string(v)) return v;
  if (is_symbol(v)) return symbol_entry(v).name;
  std::string storage;
  return make_string(text_view(v, storage));
}

// --- Comparison -----------------------------------------------------------------------

int compare_texts(std::string_view a, std::string_view b) {
  auto byte = [](std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  if (i == a.size()) return i == b.size() ? 0 : -1;
  if (i == b.size()) return 1;
  int tie_break = byte(a, i) < byte(b, i) ? -1 : 1;
  for (;; ++i) {
    if (i == a.size()) return i < b.size() ? -1 : tie_break;
    if (i == b.size()) return 1;
    std::uint8_t ma = kCollation[byte(a, i)], mb = kCollation[byte(b, i)];
    if (ma != mb) return ma < mb ? -1 : 1;
  }
}

bool equal_through(std::string_view a, std::string_view b, const CharTable& table) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (table[static_cast<std::uint8_t>(a[i])] != table[static_cast<std::uint8_t>(b[i])]) return false;
  return true;
}

// --- Numbers from text --------------------------------------------------------------

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_spaces(std::string_view s, std::size_t i) {
  while (i < s.size() && s[i] == ' ') ++i;
  return i;
}

std::size_t skip_digits(std::string_view s, std::size_t i) {
  while (i < s.size() && is_digit(s[i])) ++i;
  return i;
}

}  // namespace

std::optional<std::int32_t> parse_integer_text(std::string_view s) {
  std::size_t i = skip_spaces(s, 0);
  bool negative = i < s.size() && s[i] == '-';
  if (negative) ++i;
  std::size_t digits_start = i;
  i = skip_digits(s, i);
  std::size_t digits = i - digits_start;
  // At least one digit: a lone "-" is no number.
  if (digits == 0 || digits > 10) return std::nullopt;
  if (skip_spaces(s, i) != s.size()) return std::nullopt;
  std::int64_t value = 0;
  for (std::size_t k = digits_start; k < digits_start + digits; ++k) value = value * 10 + (s[k] - '0');
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<ParsedNumber> parse_number_text(std::string_view s, char decimal_mark) {
  if (auto n = parse_integer_text(s)) return ParsedNumber{true, *n, 0.0};
  std::size_t i = skip_spaces(s, 0);
  std::size_t start = i;
  if (i < s.size() && s[i] == '-') ++i;
  std::size_t int_start = i;
  i = skip_digits(s, i);
  std::size_t mantissa_digits = i - int_start;
  if (i < s.size() && s[i] == decimal_mark) {
    std::size_t frac_start = ++i;
    i = skip_digits(s, i);
    mantissa_digits += i - frac_start;
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exp_start = i;
    i = skip_digits(s, i);
    if (i == exp_start) return std::nullopt;
  }
  std::size_t end = i;
  if (skip_spaces(s, i) != s.size()) return std::nullopt;
  std::string text(s.substr(start, std::min<std::size_t>(end - start, 255)));
  for (char& c : text)
    if (c == decimal_mark) c = '.';
  double d = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
  if (ec != std::errc{} || ptr == text.data()) return std::nullopt;
  return ParsedNumber{false, 0, d};
}

}  // namespace orvane
