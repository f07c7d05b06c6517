#pragma once
// The draw tick: the number drawn at the previous tick goes on show, and the next one is
// drawn between 1 and the person count and held back until the following tick.

#include "draw/random.h"
#include "draw/text_label.h"

#include <cstdint>
#include <string>

namespace draw {

// Decimal digits without leading zeros or grouping, "-" before a negative value.
std::string integerToText(std::int32_t value);

void drawTick(RandomSource &random, const TickClock &clock, std::int32_t &pending, std::int32_t personCount,
              TextLabel &numberOnShow);

} // namespace draw
