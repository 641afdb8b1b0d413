// The random generator: one 32-bit linear congruential seed, stirred by the
// clock before each draw so that titles see different sequences per run.
#pragma once

#include <cstdint>

namespace orvane {

class RandomGenerator {
 public:
  // seed = seed x 214013 + 2531011 (mod 2^32); a draw is bits 16-30.
  std::int32_t draw() {
    seed_ = seed_ * 214013u + 2531011u;
    return static_cast<std::int32_t>((seed_ >> 16) & 0x7fff);
  }
  // An integer in 0 .. n - 1 for n in 1 .. 32767: the generator is first
  // advanced 0 to 3 times by the clock (milliseconds / 64, low two bits).
  std::int32_t below(std::int32_t n, std::uint64_t milliseconds);

  std::uint32_t seed() const { return seed_; }
  void reset(std::uint32_t seed = 1) { seed_ = seed; }

 private:
  std::uint32_t seed_ = 1;
};

// The run-time's generator (reset to seed 1 when a run-time starts).
inline RandomGenerator g_random;

}  // namespace orvane
