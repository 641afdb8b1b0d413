#pragma once

#include <string>

#include "core/value.h"

namespace orvane {

void register_core();

// Whether a logic variable is bound in the current clause environment.
bool variable_bound(Value variable);
// The bytes of a start-up symbol list held by a handle Value.
std::string symbol_list_bytes(Value source);

}  // namespace orvane
