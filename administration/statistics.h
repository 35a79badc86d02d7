// The "Statistika" figures of one month, from the stations' usage logs in the shared folder:
// minutes used per day, and periods and minutes per station and per code.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "formats/file_access.h"
#include "formats/usage_log.h"
#include "ui/canvas.h"

namespace sentavo::admin {

struct UsageTotals {
  int periods = 0;
  std::int64_t seconds = 0;
  bool operator==(const UsageTotals&) const = default;
};

struct MonthStatistics {
  int year = 0;
  int month = 0;
  std::vector<std::int64_t> secondsPerDay;  // one a day of the month, the 1st first
  std::map<std::string, UsageTotals> byStation;
  std::map<std::string, UsageTotals> byCode;
  int files = 0;       // the log files read
  int unreadable = 0;  // the month's log files that could not be read
};

// A month's log files may hold up to this much each; a larger file is read to this limit.
inline constexpr std::size_t kMaxUsageLogBytes = 64u << 20;

int DaysInMonth(int year, int month);
// Adds one period, to the day and month it ended in; a line of another month is left out.
void Add(MonthStatistics& stats, const UsageLine& line);
// Every station's file of the month in <share>log\ ("<PC>-YYYY-MM.csv"); `share` ends with a
// backslash.
MonthStatistics ReadMonth(const FileAccess& files, const std::string& share, int year, int month);
// Whole minutes, rounded to the nearest.
std::int64_t Minutes(std::int64_t seconds);
// The table as a Czech spreadsheet opens it: the stations, then the codes.
std::string StatisticsCsv(const MonthStatistics& stats);
// The bar chart of minutes per day in `box`, with the minutes up the left and the days along the
// bottom.
void DrawUsageChart(ui::Canvas& canvas, const ui::Rect& box, const MonthStatistics& stats);

}  // namespace sentavo::admin
