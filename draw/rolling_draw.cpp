#include "draw/rolling_draw.h"

namespace draw {

std::string integerToText(std::int32_t value) { return std::to_string(value); }

void drawTick(RandomSource &random, const TickClock &clock, std::int32_t &pending, std::int32_t personCount,
              TextLabel &numberOnShow) {
  random.reseed(clock.milliseconds());
  numberOnShow.setLabelText(integerToText(pending));
  pending = random.inRange(1, personCount);
}

} // namespace draw
