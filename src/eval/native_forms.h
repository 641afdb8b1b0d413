#pragma once

#include "core/value.h"

namespace orvane {

void register_special_forms();

// Frees the memory block behind a memory pointer or handle (`with`).
void dispose_memory_block(Value pointer);
// The description registered by defstruct under type, or no-value.
Value struct_description(Value type);
// The property named key of the native object behind `self`.
Value search_property(Value key);

}  // namespace orvane
