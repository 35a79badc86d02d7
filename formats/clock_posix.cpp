#include <time.h>

#include "formats/clock.h"

namespace sentavo {

std::uint64_t SystemClock::MonotonicMilliseconds() const {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
         static_cast<std::uint64_t>(ts.tv_nsec) / 1'000'000u;
}

}  // namespace sentavo
