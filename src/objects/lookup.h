// Symbol lookup in an object's context, below the override list.
#pragma once

#include "core/value.h"

namespace orvane::objects {

// The value of sym for object o by its class alone, ignoring o's overrides
// (what `overriden` reads); no-value when unbound.
Value class_lookup(Value o, Value sym);

}  // namespace orvane::objects
