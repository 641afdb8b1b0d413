// What the collector hands to code that marks the Values it holds outside
// the Lisp heap (native objects, extra roots).
#pragma once

#include "core/value.h"

namespace orvane {

class ValueMarker {
 public:
  virtual ~ValueMarker() = default;
  virtual void mark(Value v) = 0;
};

}  // namespace orvane
