// The printer's interface to the rest of the run-time.
#pragma once

#include <string>

#include "core/value.h"

namespace orvane {

// The text of any Value as the `string` primitive makes it (strings as they
// are, symbols by name, everything else as the printer displays it).
std::string value_to_text(Value v);

}  // namespace orvane
