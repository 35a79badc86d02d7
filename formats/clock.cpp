#include "formats/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace sentavo {

DateTime SystemClock::LocalNow() const {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
  return DateTime{tm.tm_year + 1900,
                  tm.tm_mon + 1,
                  tm.tm_mday,
                  tm.tm_hour,
                  tm.tm_min,
                  tm.tm_sec,
                  static_cast<int>(ms.count() % 1000)};
}

std::uint32_t SystemClock::UtcMillisecondsOfDay() const {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count() % 86'400'000);
}

std::string CzechFormats::ShortDate(const DateTime& dt) const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%d.%d", dt.day, dt.month, dt.year);
  return buf;
}

std::string CzechFormats::LongTime(const DateTime& dt) const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", dt.hour, dt.minute, dt.second);
  return buf;
}

}  // namespace sentavo
