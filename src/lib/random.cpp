#include "lib/random.h"

#include "core/primitives.h"
#include "eval/errors.h"
#include "lib/numbers_internal.h"
#include "platform/clock.h"

namespace orvane {

std::int32_t RandomGenerator::below(std::int32_t n, std::uint64_t milliseconds) {
  for (std::uint64_t stir = (milliseconds / 64) & 3; stir > 0; --stir) draw();
  // Draws are spread over n buckets of 32767 / n values; the top bucket can
  // be short, so a draw that lands past bucket n - 1 is drawn again.
  std::int32_t bucket = 32767 / n;
  for (;;) {
    std::int32_t q = draw() / bucket;
    if (q < n) return q;
  }
}

namespace numbers {

namespace {

// n outside 1 .. 32767 has no bucket size and raises error 2 with n.
Value p_random(Value n_value) {
  std::int32_t n = integer_of(n_value);
  if (n < 1 || n > 32767) raise_error(2, n_value);
  return make_fixnum(g_random.below(n, platform::clock().milliseconds()));
}

}  // namespace

void register_random() {
  g_random.reset();
  defprim("random", p_random);
}

}  // namespace numbers

}  // namespace orvane
