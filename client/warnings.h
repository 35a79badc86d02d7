// When a guest is warned that the period is ending: 5 minutes and 1 minute before its end, by
// the countdown or by the close of the code's validity window, whichever comes first. A period
// that starts with less time gets only the warnings still ahead of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sentavo::client {

enum class Warning { FiveMinutes, OneMinute };
inline constexpr std::int64_t kFirstWarningSeconds = 5 * 60;
inline constexpr std::int64_t kLastWarningSeconds = 60;
std::string_view WarningText(Warning w);

class WarningSchedule {
 public:
  // A period starts, or its time grows, with `remaining` seconds: each warning whose moment is
  // still ahead is due again.
  void Arm(std::int64_t remaining);
  void Disarm() { five_ = one_ = false; }
  // One second of the period: the warning due now, at most one. The 1-minute warning wins over a
  // 5-minute warning that was missed (a tick that came late), which is then never given.
  std::optional<Warning> Due(std::int64_t remaining);

 private:
  bool five_ = false;
  bool one_ = false;
};

}  // namespace sentavo::client
