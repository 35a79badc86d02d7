#include "formats/clock.h"

namespace sentavo {

std::unique_ptr<DateTimeFormats> MakeSystemFormats() {
  return std::make_unique<CzechFormats>();
}

}  // namespace sentavo
