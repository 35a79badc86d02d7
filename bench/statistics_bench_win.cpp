// Prints how long the "Statistika" tab takes to read a month of 50 stations' usage logs of 3000
// lines each from a folder (not a test).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "administration/statistics.h"
#include "formats/file_access.h"
#include "formats/wide_win.h"

int wmain() {
  using namespace sentavo;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string share = Narrow(temp) + "sentavo-statistics-bench\\";
  CreateDirectoryW(Widen(share).c_str(), nullptr);
  CreateDirectoryW(Widen(share + "log").c_str(), nullptr);
  LocalFiles files;
  for (int station = 0; station < 50; ++station) {
    const std::string pc = "PC-" + std::to_string(100 + station);
    std::string text(UsageLogHeader());
    for (int i = 0; i < 3000; ++i) {
      const int day = 1 + i % 28, hour = 8 + i % 12;
      text += EncodeUsageLine(UsageLine{pc,
                                        std::to_string(1000000 + i),
                                        {2026, 12, day, hour, 0, 0},
                                        {2026, 12, day, hour, 45, 0},
                                        2700,
                                        PeriodEnding::LogOff});
    }
    files.Replace(share + "log\\" + pc + "-2026-12.csv",
                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  const auto start = std::chrono::steady_clock::now();
  const admin::MonthStatistics stats = admin::ReadMonth(files, share, 2026, 12);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::int64_t periods = 0;
  for (const auto& [pc, t] : stats.byStation) periods += t.periods;
  std::printf(
      "a month of %d stations' logs, %lld periods, %zu codes: read and counted in %.1f ms\n",
      stats.files, static_cast<long long>(periods), stats.byCode.size(), ms);
  for (const FolderFile& f : files.ListFiles(share + "log\\"))
    files.Remove(share + "log\\" + f.name);
  RemoveDirectoryW(Widen(share + "log").c_str());
  RemoveDirectoryW(Widen(share).c_str());
  return 0;
}
