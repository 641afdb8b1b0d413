#pragma once

#include "core/value.h"

namespace orvane {

bool eqv(Value a, Value b);
bool equal(Value a, Value b);
// The type-name symbol that type-of answers; error 2 for the (error) tags.
Value type_of(Value v);
bool type_p(Value v, Value type_symbol);

}  // namespace orvane
