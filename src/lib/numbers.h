// The numeric primitives: integers that wrap at 32 bits, reals, comparisons,
// rounding and division, mathematical functions, bits and the random
// generator.
#pragma once

namespace orvane {

void register_numbers();

}  // namespace orvane
