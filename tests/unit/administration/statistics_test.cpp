// The month's statistics from the stations' usage logs: what is added to which day, station and
// code, which files and lines count, the exported table, and the chart.
#include "administration/statistics.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "admin_fixture.h"
#include "memory_files.h"
#include "ui/recording_canvas.h"

namespace sentavo::admin {
namespace {

UsageLine Line(std::string pc, std::string code, int day, std::int64_t seconds, int month = 12) {
  return UsageLine{
      std::move(pc), std::move(code),     {2026, month, day, 9, 0, 0}, {2026, month, day, 10, 0, 0},
      seconds,       PeriodEnding::LogOff};
}

TEST(Statistics, PeriodsCountToTheDayStationAndCodeOfTheirMonth) {
  MonthStatistics s{2026, 12, {}, {}, {}, 0};
  Add(s, Line("PC-01", "4712", 1, 3600));
  Add(s, Line("PC-01", "4713", 1, 1800));
  Add(s, Line("PC-02", "4712", 31, 90));
  Add(s, Line("PC-02", "4712", 5, 60, 11));  // another month
  ASSERT_EQ(s.secondsPerDay.size(), 31u);
  EXPECT_EQ(s.secondsPerDay[0], 5400);
  EXPECT_EQ(s.secondsPerDay[30], 90);
  EXPECT_EQ(s.byStation["PC-01"], (UsageTotals{2, 5400}));
  EXPECT_EQ(s.byStation["PC-02"], (UsageTotals{1, 90}));
  EXPECT_EQ(s.byCode["4712"], (UsageTotals{2, 3690}));
  EXPECT_EQ(Minutes(89), 1);
  EXPECT_EQ(Minutes(90), 2);
  EXPECT_EQ(DaysInMonth(2028, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
}

TEST(Statistics, AMonthIsReadFromEveryStationsFileOfThatMonthOnly) {
  sentavo::test::MemoryFiles files;
  files.AddFolder("S:\\kody\\log\\");
  auto file = [](std::initializer_list<UsageLine> lines) {
    std::string text(UsageLogHeader());
    for (const UsageLine& l : lines) text += EncodeUsageLine(l);
    return text;
  };
  files.Put("S:\\kody\\log\\PC-01-2026-12.csv",
            file({Line("PC-01", "a", 2, 600), Line("PC-01", "b", 3, 60)}));
  files.Put("S:\\kody\\log\\PC-02-2026-12.csv",
            file({Line("PC-02", "a", 2, 1200)}) + "damaged;line\r\n");
  files.Put("S:\\kody\\log\\PC-01-2026-11.csv", file({Line("PC-01", "c", 2, 600, 11)}));
  files.Put("S:\\kody\\log\\poznamky.txt", "PC-01;x;...");
  files.Put("S:\\kody\\log\\PC-03-2026-12.csv", file({Line("PC-03", "d", 4, 60)}));
  files.FailRead("S:\\kody\\log\\PC-03-2026-12.csv", 32);
  const MonthStatistics s = ReadMonth(files, "S:\\kody\\", 2026, 12);
  EXPECT_EQ(s.files, 2);
  EXPECT_EQ(s.secondsPerDay[1], 1800);
  EXPECT_EQ(s.secondsPerDay[2], 60);
  EXPECT_EQ(s.byCode.size(), 2u);
  EXPECT_EQ(s.byCode.at("a"), (UsageTotals{2, 1800}));
  EXPECT_FALSE(s.byStation.contains("PC-03"));
  EXPECT_EQ(s.unreadable, 1);

  const std::string csv = StatisticsCsv(s);
  EXPECT_EQ(csv,
            "\xEF\xBB\xBFPočítač;Období;Minut\r\nPC-01;2;11\r\nPC-02;1;20\r\n\r\n"
            "Kód;Období;Minut\r\na;2;30\r\nb;1;1\r\n");
}

TEST(Statistics, TheChartHasABarForEachDayUsedAsTallAsItsMinutes) {
  MonthStatistics s{2026, 12, {}, {}, {}, 0};
  Add(s, Line("PC-01", "a", 1, 60 * 60));
  Add(s, Line("PC-01", "a", 15, 30 * 60));
  ui::RecordingCanvas canvas;
  const ui::Rect box{0, 0, 640, 240};
  DrawUsageChart(canvas, box, s);
  std::vector<ui::Rect> bars;
  std::vector<std::string> labels;
  for (const ui::CanvasOp& op : canvas.ops) {
    if (op.kind == ui::CanvasOp::Kind::FillRect && op.brush == ui::MakeColor(0, 100, 0))
      bars.push_back(op.rect);
    if (op.kind == ui::CanvasOp::Kind::Caption) labels.push_back(op.text);
  }
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_LT(bars[0].left, bars[1].left);
  EXPECT_EQ(bars[0].bottom, bars[1].bottom);
  const int tall = bars[0].bottom - bars[0].top, half = bars[1].bottom - bars[1].top;
  EXPECT_NEAR(tall, 2 * half, 2);
  for (const ui::Rect& b : bars) {
    EXPECT_GE(b.top, box.top);
    EXPECT_LE(b.right, box.right);
  }
  // The days along the bottom, the minutes up the side.
  EXPECT_NE(std::find(labels.begin(), labels.end(), "1"), labels.end());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "31"), labels.end());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "60"), labels.end());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "0"), labels.end());
  // A month without use draws the axes and no bar.
  ui::RecordingCanvas empty;
  DrawUsageChart(empty, box, MonthStatistics{2026, 2, std::vector<std::int64_t>(28, 0), {}, {}, 0});
  EXPECT_TRUE(std::none_of(empty.ops.begin(), empty.ops.end(), [](const ui::CanvasOp& op) {
    return op.kind == ui::CanvasOp::Kind::FillRect && op.brush == ui::MakeColor(0, 100, 0);
  }));
}

// The "Statistika" tab of the code-management window, on the month's log files in the share.
class StatisticsTabTest : public test::AdminTest {
 protected:
  void SetUp() override {
    clock.now = {2026, 12, 20, 18, 0, 0};
    const std::string log = test::kShare + "log\\";
    files.AddFolder(log);
    auto file = [](std::initializer_list<UsageLine> lines) {
      std::string text(UsageLogHeader());
      for (const UsageLine& l : lines) text += EncodeUsageLine(l);
      return text;
    };
    files.Put(log + "PC-01-2026-12.csv",
              file({Line("PC-01", "4712", 2, 3600), Line("PC-01", "4713", 3, 1770)}));
    files.Put(log + "PC-02-2026-12.csv", file({Line("PC-02", "4712", 2, 600)}));
    files.Put(log + "PC-02-2026-11.csv", file({Line("PC-02", "9", 2, 120, 11)}));
    StartLoggedIn();
  }
  const StatisticsTab& tab() { return codes().view().statistics; }
};

TEST_F(StatisticsTabTest, TheTabShowsThisMonthAndAnotherMonthWhenPicked) {
  EXPECT_EQ(tab().rows.size(), 0u);  // nothing read before the tab shows
  codes().OnTabChanged(CodeTab::Statistika);
  EXPECT_EQ(tab().mesic.month, 12);
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(tab().rows, (Rows{{"Počítač", "PC-01", "2", "90"},
                              {"Počítač", "PC-02", "1", "10"},
                              {"Kód", "4712", "2", "70"},
                              {"Kód", "4713", "1", "30"}}));
  EXPECT_EQ(tab().souhrn, "Celkem období: 3, minut: 100 (přečteno souborů: 2)");
  EXPECT_EQ(tab().stats.secondsPerDay[1], 4200);

  codes().OnMesicChanged({2026, 11, 1});
  EXPECT_EQ(tab().rows, (Rows{{"Počítač", "PC-02", "1", "2"}, {"Kód", "9", "1", "2"}}));

  // A file that cannot be read is counted, not passed over in silence.
  files.FailRead(test::kShare + "log\\PC-02-2026-11.csv", 32);
  codes().OnStatistikaRefresh();
  EXPECT_EQ(tab().rows, Rows{});
  EXPECT_EQ(tab().souhrn, "Celkem období: 0, minut: 0 (přečteno souborů: 0, nečitelných: 1)");
}

TEST_F(StatisticsTabTest, ExportovatCsvWritesTheTableOrSaysWhyNot) {
  codes().OnTabChanged(CodeTab::Statistika);
  const std::string path = "C:\\Sentavo\\prosinec.csv";
  EXPECT_EQ(test::Messages(codes().OnExportovatCsv(path)),
            (std::vector<ui::Message>{
                test::Info("Tabulka byla uložena do souboru C:\\Sentavo\\prosinec.csv.")}));
  EXPECT_EQ(files.Text(path), StatisticsCsv(tab().stats));
  EXPECT_NE(files.Text(path).find("PC-01;2;90\r\n"), std::string::npos);

  files.FailReplace(path, io::kAccessDenied);
  EXPECT_EQ(test::Messages(codes().OnExportovatCsv(path)),
            (std::vector<ui::Message>{
                test::Error("Tabulku nelze uložit do souboru C:\\Sentavo\\prosinec.csv: " +
                            IoErrorText(io::kAccessDenied))}));
}

}  // namespace
}  // namespace sentavo::admin
