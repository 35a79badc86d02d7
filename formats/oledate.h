// Local calendar date-times and their OLE Automation form: a double counting days since
// 1899-12-30 00:00, the time of day as the fraction. Before that epoch the whole part counts days
// backwards while the fraction still runs forwards (-1.25 is 1899-12-29 06:00), as every program
// that shares these files reads it.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace sentavo {

struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  auto operator<=>(const DateTime&) const = default;
};

// The range that every program reading these files can represent: years 1 to 9999.
inline constexpr double kMinOleDate = -693593.0;  // 0001-01-01 00:00
inline constexpr double kMaxOleDate = 2958466.0;  // 10000-01-01 00:00, excluded

bool IsValidDateTime(const DateTime& dt);

// Throws std::invalid_argument for a date-time that IsValidDateTime refuses.
double ToOleDate(const DateTime& dt);

// Rounded to the millisecond; a value that rounds up to midnight belongs to the next day. Empty for
// NaN, infinities and values outside years 1 to 9999, which a damaged file may hold.
std::optional<DateTime> FromOleDate(double ole);

// The calendar day `days` after (or before, if negative) `dt`, same time of day.
DateTime AddDays(const DateTime& dt, int days);

// yyyymmdd and hhnnss as integers, for the validity-window test.
int DateKey(const DateTime& dt);
int TimeKey(const DateTime& dt);

// "2026-12-09T14:30:00" (milliseconds added when not zero).
std::string FormatIso(const DateTime& dt);

// Accepts "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" and "YYYY-MM-DDTHH:MM:SS", with "T" or a space.
struct ParsedDateTime {
  DateTime value;
  bool hasTime = false;
};
std::optional<ParsedDateTime> ParseIso(std::string_view text);

}  // namespace sentavo
