#include "formats/oledate.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace sentavo {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const std::int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);

DateTime FromDayAndMs(std::int64_t oleDay, std::int64_t msOfDay) {
  DateTime dt;
  CivilFromDays(oleDay + kOleEpoch, dt.year, dt.month, dt.day);
  dt.hour = static_cast<int>(msOfDay / 3'600'000);
  dt.minute = static_cast<int>(msOfDay / 60'000 % 60);
  dt.second = static_cast<int>(msOfDay / 1000 % 60);
  dt.millisecond = static_cast<int>(msOfDay % 1000);
  return dt;
}

}  // namespace

bool IsValidDateTime(const DateTime& dt) {
  return dt.year >= 1 && dt.year <= 9999 && dt.month >= 1 && dt.month <= 12 && dt.day >= 1 &&
         dt.day <= DaysInMonth(dt.year, dt.month) && dt.hour >= 0 && dt.hour < 24 &&
         dt.minute >= 0 && dt.minute < 60 && dt.second >= 0 && dt.second < 60 &&
         dt.millisecond >= 0 && dt.millisecond < 1000;
}

double ToOleDate(const DateTime& dt) {
  if (!IsValidDateTime(dt)) throw std::invalid_argument("not a valid date and time");
  const auto days = static_cast<double>(DaysFromCivil(dt.year, dt.month, dt.day) - kOleEpoch);
  const double fraction =
      static_cast<double>(((dt.hour * 60 + dt.minute) * 60 + dt.second) * 1000 + dt.millisecond) /
      static_cast<double>(kMsPerDay);
  return days >= 0 ? days + fraction : days - fraction;
}

std::optional<DateTime> FromOleDate(double ole) {
  if (!std::isfinite(ole) || ole <= kMinOleDate - 1.0 || ole >= kMaxOleDate) return std::nullopt;
  const double whole = std::trunc(ole);
  auto day = static_cast<std::int64_t>(whole);
  std::int64_t ms = std::llround(std::fabs(ole - whole) * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) {  // 23:59:59.9996 rounds to the next day's midnight
    ms -= kMsPerDay;
    ++day;
  }
  DateTime dt = FromDayAndMs(day, ms);
  if (!IsValidDateTime(dt)) return std::nullopt;
  return dt;
}

DateTime AddDays(const DateTime& dt, int days) {
  DateTime out = dt;
  CivilFromDays(DaysFromCivil(dt.year, dt.month, dt.day) + days, out.year, out.month, out.day);
  return out;
}

int DateKey(const DateTime& dt) {
  return (dt.year * 100 + dt.month) * 100 + dt.day;
}

int TimeKey(const DateTime& dt) {
  return (dt.hour * 100 + dt.minute) * 100 + dt.second;
}

std::string FormatIso(const DateTime& dt) {
  char buf[40];
  if (dt.millisecond != 0) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", dt.year, dt.month, dt.day,
                  dt.hour, dt.minute, dt.second, dt.millisecond);
  } else {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", dt.year, dt.month, dt.day,
                  dt.hour, dt.minute, dt.second);
  }
  return buf;
}

std::optional<ParsedDateTime> ParseIso(std::string_view text) {
  const auto number = [&](std::size_t pos, std::size_t len, int& out) {
    if (pos + len > text.size()) return false;
    out = 0;
    for (std::size_t i = pos; i < pos + len; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      out = out * 10 + (text[i] - '0');
    }
    return true;
  };
  ParsedDateTime p;
  DateTime& dt = p.value;
  if (!number(0, 4, dt.year) || text.size() < 10 || text[4] != '-' || !number(5, 2, dt.month) ||
      text[7] != '-' || !number(8, 2, dt.day)) {
    return std::nullopt;
  }
  if (text.size() > 10) {
    if ((text[10] != 'T' && text[10] != ' ') || !number(11, 2, dt.hour) || text.size() < 16 ||
        text[13] != ':' || !number(14, 2, dt.minute)) {
      return std::nullopt;
    }
    if (text.size() > 16 && (text.size() != 19 || text[16] != ':' || !number(17, 2, dt.second))) {
      return std::nullopt;
    }
    p.hasTime = true;
  }
  if (!IsValidDateTime(dt)) return std::nullopt;
  return p;
}

}  // namespace sentavo
