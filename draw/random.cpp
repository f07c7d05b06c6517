#include "draw/random.h"

#include <algorithm>
#include <chrono>

namespace draw {

std::uint32_t SteadyTickClock::milliseconds() const {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

int RandomSource::next() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

void RandomSource::reseed(std::uint32_t ticks) {
  const std::uint32_t s = ticks + accumulator;
  accumulator += (s & 0xFFu) + 100u;
  seed(s);
}

std::int32_t RandomSource::inRange(std::optional<std::int32_t> lo, std::optional<std::int32_t> hi) {
  const std::int32_t a = lo ? std::max<std::int32_t>(*lo, 0) : 0;
  const std::int32_t b = hi ? std::max<std::int32_t>(*hi, 0) : 2147483647;
  const std::int32_t mn = std::min(a, b);
  const std::int32_t mx = std::max(a, b);
  if (mn == mx)
    return mn;
  const std::int64_t w = std::min<std::int64_t>(std::int64_t{mx} - mn, 2147483646);
  const std::uint64_t span = static_cast<std::uint64_t>(w) + 1;
  // One 15-bit output covers spans up to 32768 exactly as the generator always has. A wider
  // span would leave everyone above 32768 unreachable, so it joins as many outputs as it
  // needs, the first one highest: r = r1 * 32768 + r2 for spans up to 2^30, and
  // r = (r1 * 32768 + r2) * 32768 + r3 above that; the result is mn + r mod span. Spans up
  // to 32768 still use a single output, so their numbers are the ones they always were.
  std::uint64_t r = static_cast<std::uint64_t>(next());
  for (std::uint64_t reach = 32768; reach < span; reach *= 32768)
    r = r * 32768 + static_cast<std::uint64_t>(next());
  return static_cast<std::int32_t>(mn + static_cast<std::int64_t>(r % span));
}

} // namespace draw
