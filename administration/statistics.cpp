#include "administration/statistics.h"

#include <algorithm>
#include <cstdio>

namespace sentavo::admin {

namespace {

constexpr ui::TColor kBar = ui::MakeColor(0, 100, 0);  // the program's dark green
constexpr ui::TColor kAxis = ui::clWhite;

std::string CsvField(const std::string& s) {
  if (s.find_first_of(";\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (const char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

// A round step for the minutes' axis: about four lines up the chart.
std::int64_t AxisStep(std::int64_t top) {
  std::int64_t step = 1;
  for (const std::int64_t s : {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1200, 3000, 6000}) {
    step = s;
    if (top / s <= 4) break;
  }
  return step;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

void Add(MonthStatistics& stats, const UsageLine& line) {
  if (line.end.year != stats.year || line.end.month != stats.month) return;
  if (stats.secondsPerDay.empty())
    stats.secondsPerDay.assign(DaysInMonth(stats.year, stats.month), 0);
  const std::size_t day = static_cast<std::size_t>(line.end.day - 1);
  if (day >= stats.secondsPerDay.size()) return;
  stats.secondsPerDay[day] += line.seconds;
  for (UsageTotals* t : {&stats.byStation[line.pc], &stats.byCode[line.code]}) {
    ++t->periods;
    t->seconds += line.seconds;
  }
}

MonthStatistics ReadMonth(const FileAccess& files, const std::string& share, int year, int month) {
  MonthStatistics stats;
  stats.year = year;
  stats.month = month;
  stats.secondsPerDay.assign(DaysInMonth(year, month), 0);
  char tail[16];
  std::snprintf(tail, sizeof tail, "-%04d-%02d.csv", year, month);
  const std::string folder = share + std::string(kUsageLogFolder) + "\\";
  for (const FolderFile& f : files.ListFiles(folder)) {
    if (f.name.size() <= std::string_view(tail).size() || !f.name.ends_with(tail)) continue;
    const ReadResult read = files.Read(folder + f.name, kMaxUsageLogBytes);
    if (read.error != io::kOk) {
      ++stats.unreadable;
      continue;
    }
    ++stats.files;
    for (const UsageLine& line : DecodeUsageLines(std::string_view(
             reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()))) {
      Add(stats, line);
    }
  }
  return stats;
}

std::int64_t Minutes(std::int64_t seconds) {
  return (seconds + 30) / 60;
}

std::string StatisticsCsv(const MonthStatistics& stats) {
  std::string out(UsageLogHeader().substr(0, 3));  // the byte-order mark
  out += "Počítač;Období;Minut\r\n";
  for (const auto& [pc, t] : stats.byStation) {
    out += CsvField(pc) + ";" + std::to_string(t.periods) + ";" +
           std::to_string(Minutes(t.seconds)) + "\r\n";
  }
  out += "\r\nKód;Období;Minut\r\n";
  for (const auto& [code, t] : stats.byCode) {
    out += CsvField(code) + ";" + std::to_string(t.periods) + ";" +
           std::to_string(Minutes(t.seconds)) + "\r\n";
  }
  return out;
}

void DrawUsageChart(ui::Canvas& canvas, const ui::Rect& box, const MonthStatistics& stats) {
  canvas.SetBrush(ui::clBlack);
  canvas.FillRect(box);
  const ui::FontSpec font{"Verdana", 10, false, false, false, kAxis};
  canvas.SetFont(font);
  const int labelWidth = canvas.TextExtent("00000").cx + 6;
  const int labelHeight = font.height + 6;
  const ui::Rect plot{box.left + labelWidth, box.top + labelHeight / 2, box.right - 4,
                      box.bottom - labelHeight};
  const std::size_t days = stats.secondsPerDay.size();
  if (days == 0 || plot.Width() <= 0 || plot.bottom <= plot.top) return;
  std::int64_t most = 0;
  for (const std::int64_t s : stats.secondsPerDay) most = std::max(most, Minutes(s));
  const std::int64_t step = AxisStep(most);
  const std::int64_t top = std::max<std::int64_t>(step, (most + step - 1) / step * step);
  const int height = plot.bottom - plot.top;
  auto y = [&](std::int64_t minutes) {
    return plot.bottom - static_cast<int>(minutes * height / top);
  };
  // The minutes' axis: a line and a label at each step.
  canvas.SetPen(ui::clGray);
  for (std::int64_t m = 0; m <= top; m += step) {
    const ui::Point line[] = {{plot.left, y(m)}, {plot.right, y(m)}};
    canvas.Polyline(line);
    canvas.DrawCaption({box.left, y(m) - labelHeight / 2, plot.left - 2, y(m) + labelHeight / 2},
                       std::to_string(m), kAxis);
  }
  // A bar a day; the day's number under every bar there is room for.
  const int slot = plot.Width() / static_cast<int>(days);
  const int every = slot >= canvas.TextExtent("31").cx + 2 ? 1 : 5;
  canvas.SetBrush(kBar);
  for (std::size_t d = 0; d < days; ++d) {
    const int left = plot.left + static_cast<int>(d) * slot;
    const std::int64_t minutes = Minutes(stats.secondsPerDay[d]);
    if (minutes > 0)
      canvas.FillRect({left + 1, y(minutes), left + std::max(slot - 1, 2), plot.bottom});
    if ((d + 1) % every == 0 || d == 0) {
      canvas.DrawCaption({left, plot.bottom + 2, left + slot, box.bottom}, std::to_string(d + 1),
                         kAxis);
    }
  }
}

}  // namespace sentavo::admin
