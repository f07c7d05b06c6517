#pragma once
// The program's one random source: a 32-bit linear congruential generator (214013, 2531011,
// 15-bit output), reseeded before every draw from the millisecond tick count plus a seed
// accumulator that grows at each reseed, so two reseeds in one millisecond still differ.

#include <cstdint>
#include <optional>

namespace draw {

// The millisecond tick counter: milliseconds since some fixed start, wrapping at 2^32.
class TickClock {
public:
  virtual ~TickClock() = default;
  virtual std::uint32_t milliseconds() const = 0;
};

// The monotonic clock of the system, in milliseconds, truncated to 32 bits.
class SteadyTickClock final : public TickClock {
public:
  std::uint32_t milliseconds() const override;
};

struct RandomSource {
  std::uint32_t state = 1;       // the generator, 1 before its first seeding
  std::uint32_t accumulator = 0; // the seed accumulator

  void seed(std::uint32_t s) { state = s; }
  // One output from 0 to 32767.
  int next();
  // Reseed from clock: s = ticks + accumulator; accumulator += (s & 0xFF) + 100; seed with s.
  void reseed(std::uint32_t ticks);
  // A number between the bounds; an absent low bound is 0, an absent high one 2147483647, and
  // negative bounds are raised to 0. Equal bounds give that bound without using the generator.
  // A span of up to 32768 numbers takes one output; a wider one joins two or three.
  std::int32_t inRange(std::optional<std::int32_t> lo, std::optional<std::int32_t> hi);
};

} // namespace draw
