#include "lib/real_text.h"

#include <charconv>
#include <cmath>

namespace orvane {

std::string real_to_text(double value, char decimal_mark) {
  // Infinities and NaNs have no digits to which a decimal mark could belong.
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";

  // std::to_chars in general format with a precision is "%.15g" without the
  // host locale's say in the decimal point.
  char buffer[48];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::general, 15);
  std::string text(buffer, ec == std::errc{} ? end : buffer);

  bool has_mark_or_exponent = false;
  for (char& c : text) {
    if (c == '.') {
      c = decimal_mark;
      has_mark_or_exponent = true;
    } else if (c == 'e' || c == 'E') {
      has_mark_or_exponent = true;
    }
  }
  if (!has_mark_or_exponent) {
    text += decimal_mark;
    text += '0';
  }
  return text;
}

}  // namespace orvane
