// The text form of reals, shared by `string`, the printer and every other
// conversion of a real to characters.
#pragma once

#include <string>

namespace orvane {

// The character that stands for "." in the text of reals, read and written
// by the reader and the printer (`with-dot-mark` changes it). Reset to "."
// when a run-time starts.
inline char g_decimal_mark = '.';

// The text of a real: 15 significant digits as "%.15g" writes them, "." made
// the decimal mark, and the mark and "0" appended when the text shows neither
// a mark nor an exponent (2.0 prints as "2.0", 1e20 as "1e+20").
std::string real_to_text(double value, char decimal_mark);
inline std::string real_to_text(double value) { return real_to_text(value, g_decimal_mark); }

}  // namespace orvane
