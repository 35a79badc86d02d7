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

int SystemClock::UtcOffsetMinutes() const {
  const std::time_t t = std::time(nullptr);
  std::tm local{}, utc{};
#ifdef _WIN32
  localtime_s(&local, &t);
  gmtime_s(&utc, &t);
#else
  localtime_r(&t, &local);
  gmtime_r(&t, &utc);
#endif
  // The two broken-down times are at most a day apart.
  int days = 0;
  if (local.tm_year != utc.tm_year) {
    days = local.tm_year > utc.tm_year ? 1 : -1;
  } else if (local.tm_yday != utc.tm_yday) {
    days = local.tm_yday > utc.tm_yday ? 1 : -1;
  }
  return days * 1440 + (local.tm_hour - utc.tm_hour) * 60 + (local.tm_min - utc.tm_min);
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
