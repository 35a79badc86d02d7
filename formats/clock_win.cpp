#include <windows.h>

#include "formats/clock.h"

namespace sentavo {

std::uint64_t SystemClock::MonotonicMilliseconds() const {
  return GetTickCount64();
}

}  // namespace sentavo
