#include "formats/validity.h"

#include <cmath>
#include <cstdio>

namespace sentavo {

bool InsideValidityWindow(const ValidityWindow& w, int today, int timeNow) {
  const bool startMet = !(today < w.fromDay || (today == w.fromDay && timeNow < w.fromTime));
  const bool endMet = !(today > w.toDay || (today == w.toDay && timeNow > w.toTime));
  return startMet && endMet;
}

std::optional<ValidityWindow> ValidityWindowOf(const TCodeRecord& r) {
  const auto fromDate = FromOleDate(r.validFromDate);
  const auto toDate = FromOleDate(r.validToDate);
  const auto fromTime = FromOleDate(r.validFromTime);
  const auto toTime = FromOleDate(r.validToTime);
  if (!fromDate || !toDate || !fromTime || !toTime) return std::nullopt;
  return ValidityWindow{DateKey(*fromDate), TimeKey(*fromTime), DateKey(*toDate), TimeKey(*toTime)};
}

bool CodeInsideValidityWindow(const TCodeRecord& record, const DateTime& now) {
  const auto window = ValidityWindowOf(record);
  return window && InsideValidityWindow(*window, DateKey(now), TimeKey(now));
}

std::optional<std::int64_t> SecondsUntilValidityEnds(const TCodeRecord& r, const DateTime& now) {
  const auto toDate = FromOleDate(r.validToDate);
  const auto toTime = FromOleDate(r.validToTime);
  if (!toDate || !toTime) return std::nullopt;
  const DateTime last{
      toDate->year, toDate->month, toDate->day, toTime->hour, toTime->minute, toTime->second, 0};
  DateTime whole = now;
  whole.millisecond = 0;
  return static_cast<std::int64_t>(std::llround((ToOleDate(last) - ToOleDate(whole)) * 86400.0)) +
         1;
}

std::string CountdownText(int seconds) {
  if (seconds < 0) seconds = 0;
  char buf[24];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
  return buf;
}

}  // namespace sentavo
