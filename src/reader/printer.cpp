#include "reader/printer.h"

#include "core/memory.h"
#include "core/symbols.h"

namespace orvane {

std::string value_to_text(Value v) {
  if (is_string(v)) return std::string(string_view_of(v));
  if (is_symbol(v)) return std::string(symbol_name(v));
  if (is_integer(v)) return std::to_string(integer_unchecked(v));
  return "#<value>";
}

}  // namespace orvane
