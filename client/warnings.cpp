#include "client/warnings.h"

#include "client/lock_screen_texts.h"

namespace sentavo::client {

std::string_view WarningText(Warning w) {
  return w == Warning::FiveMinutes ? texts::kFiveMinutesLeft : texts::kOneMinuteLeft;
}

void WarningSchedule::Arm(std::int64_t remaining) {
  five_ = remaining > kFirstWarningSeconds;
  one_ = remaining > kLastWarningSeconds;
}

std::optional<Warning> WarningSchedule::Due(std::int64_t remaining) {
  if (one_ && remaining <= kLastWarningSeconds) {
    five_ = one_ = false;
    return Warning::OneMinute;
  }
  if (five_ && remaining <= kFirstWarningSeconds) {
    five_ = false;
    return Warning::FiveMinutes;
  }
  return std::nullopt;
}

}  // namespace sentavo::client
