#include "app/program_state.h"

namespace app {

std::unique_ptr<DrawSlots> drawSlots;
std::int32_t personCount = 0;
std::optional<std::string> winnerListText;
draw::RandomSource randomSource;
namespace {
draw::SteadyTickClock steadyClock;
}
draw::TickClock *tickClock = &steadyClock;
std::string runDirectory;

} // namespace app
