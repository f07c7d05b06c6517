#pragma once
// A broken property ends the run the way a crash does, so libFuzzer keeps the input.

#include <cstdlib>

namespace fuzz {

inline void require(bool condition) {
  if (!condition)
    std::abort();
}

} // namespace fuzz
