#pragma once
// The program inside a test process: its queue driven by hand, its windows closed between
// tests, and a tick clock the test sets.

#include "draw/random.h"

#include <cstdint>

namespace support {

// A millisecond counter that stands still until the test moves it.
class FixedTickClock final : public draw::TickClock {
public:
  std::uint32_t ms = 1000;
  std::uint32_t milliseconds() const override { return ms; }
};

// Carries out the queued destruction requests and then the deferred deletes behind them.
void flushQueue();

// A program as start-up leaves it, inside the test process: fresh lifecycle and draw slots,
// and the gift window loaded. False when the gift window could not be loaded.
bool startWithGiftWindow();

// Closes whatever window of the program is still loaded (settings, draw, gift) and carries
// the queue out, so the next test starts with none.
void closeAllWindows();

} // namespace support
