// Defaults for hooks whose owners arrive with later subsystems. Each owner
// removes its default from here when it defines the real one.
#include <string>

#include "core/core_primitives.h"
#include "core/memory.h"
#include "eval/errors.h"
#include "eval/evaluator_internal.h"
#include "eval/specials.h"

namespace orvane {



}  // namespace orvane
