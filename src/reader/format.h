// `format`: text with directives ("~a", "~%", "~:[no~;yes~]" ...) written to
// a destination.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/primitives.h"

namespace orvane {

// Runs the control text to the current destination. The `count` format
// arguments lie last first from `last_first` (as `format`, registered with
// the reversed rest code, receives them).
void run_format(std::string_view control, const Value* last_first, std::size_t count);

// The `format` primitive: (format destination control argument...), its
// rest array holding every argument last first.
Value format_primitive(RestArgs last_first);

}  // namespace orvane
