// The conversion of number tokens: the text of a token that holds digits
// becomes an integer or a real when it has the form of one.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

// Optional blanks, an optional "-" (a "+" is not accepted), digits, optional
// blanks; the value must lie in the signed 32-bit range.
std::optional<std::int32_t> integer_of_text(std::string_view text);

// Optional blanks, an optional "-", digits with at most one "." among them,
// optionally "e" or "E" with an optional sign and digits, optional blanks.
// Values too large for a double are infinite, values too small are zero.
std::optional<double> real_of_text(std::string_view text);

}  // namespace orvane
