#include "lib/numbers.h"

#include "lib/numbers_internal.h"

namespace orvane {

void register_numbers() {
  numbers::register_arithmetic();
  numbers::register_rounding();
  numbers::register_math();
  numbers::register_random();
}

}  // namespace orvane
