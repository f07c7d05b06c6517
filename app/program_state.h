#pragma once
// The program-wide variables. They live for the whole run and are touched only on the GUI
// thread, directly.

#include "draw/random.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace app {

// The draw slots: two 32-bit elements, numbered 1 and 2 as the draw speaks of them. Element 1
// holds the number the next tick shows; element 2 is never used but belongs to the array.
struct DrawSlots {
  std::array<std::int32_t, 2> elements{0, 0};
  std::int32_t &element(int i) { return elements.at(static_cast<std::size_t>(i - 1)); }
};

extern std::unique_ptr<DrawSlots> drawSlots;      // created at start-up, released at exit
extern std::int32_t personCount;                  // 0 at start; "确定" writes it
extern std::optional<std::string> winnerListText; // absent at start; each record replaces it
extern draw::RandomSource randomSource;           // generator state and seed accumulator
extern draw::TickClock *tickClock;                // the millisecond tick counter; tests set it
// The directory of the program file, without a trailing separator; also the current
// directory from start-up on. Files are found by name in it.
extern std::string runDirectory;

} // namespace app
