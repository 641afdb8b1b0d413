// The clause engine: predicates made of clauses, proved depth first with
// chronological backtracking in continuation style.
#pragma once

#include "core/value.h"

namespace orvane {

void register_clauses();

// Whether a logic variable is bound in the current clause environment.
bool variable_bound(Value variable);

}  // namespace orvane
