// "Statistika" of the code-management window: the month picker, the chart of minutes per day, the
// table per PC and per code, and the export of the table.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <cstdio>

#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"
#include "formats/wide_win.h"
#include "ui/system_dll_win.h"

namespace sentavo::admin {
namespace {

ui::FontSpec Plain(int height) {
  ui::FontSpec font = ui::VerdanaBold(height, ui::clWhite);
  font.bold = false;
  return font;
}

// The save dialog for the exported table; none when the operator cancels it.
std::optional<std::string> AskCsvPath(HWND owner, const std::string& suggested) {
  std::array<wchar_t, MAX_PATH> buffer{};
  const std::wstring name = Widen(suggested);
  name.copy(buffer.data(), buffer.size() - 1);
  // The filter: its caption, then its pattern, each closed by a NUL, and a NUL to end the list.
  std::wstring filter = Widen(text::kCsvFilter);
  filter.push_back(L'\0');
  filter += L"*.csv";
  filter.push_back(L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrDefExt = L"csv";
  ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  // The dialog's DLL brings the print spooler with it: loaded only when a table is exported.
  static const auto saveDialog =
      ui::SystemFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
  if (!saveDialog || !saveDialog(&ofn)) return std::nullopt;
  return Narrow(buffer.data());
}

}  // namespace

void CodeWindow::BuildStatisticsTab(HWND page, int width, int height) {
  const int chartTop = 44, chartHeight = 200, summary = 28;
  mesicLabel_.Create(page, ids::kMesicLabel, {8, 12, 70, 20}, text::kMesicLabel);
  mesicLabel_.SetFont(ui::VerdanaBold(12, ui::clWhite));
  mesicLabel_.SetColor(ui::clBlack);
  mesic_.Create(page, ids::kMesic, {80, 8, 180, 26});
  // Only the month counts: the picker shows "prosinec 2026".
  SendMessageW(mesic_.hwnd(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"MMMM yyyy"));
  binder_.BindValue(mesic_.OnChange, &CodeWindowModel::OnMesicChanged,
                    [this] { return mesic_.Date(); });

  exportovat_.Create(page, ids::kExportovatCsv, {width - 198, 6, 190, 30},
                     std::string(text::kExportovatCsv));
  exportovat_.SetColor(ui::clNavy);
  exportovat_.SetFont(ui::VerdanaBold(12));
  exportovat_.OnClick = [this](widgets::ColorButtonModel&) { ExportStatistics(); };

  chart_.Create(page, ids::kStatistikaGraf, {8, chartTop, width - 16, chartHeight});
  chart_.OnPaint = [this](ui::Canvas& canvas, ui::Size size) {
    const CodeWindowModel* model = binder_.model();
    if (!model) return;
    DrawUsageChart(canvas, {0, 0, size.cx, size.cy}, model->view().statistics.stats);
  };

  const int tableTop = chartTop + chartHeight + 8;
  tabulka_.SetFont(Plain(12));
  tabulka_.Create(page, ids::kStatistikaTabulka,
                  {8, tableTop, width - 16, height - tableTop - summary},
                  {{std::string(text::kColumnKind), 90},
                   {std::string(text::kColumnName), 250},
                   {std::string(text::kColumnPeriods), 90},
                   {std::string(text::kColumnMinutes), 90}});
  tabulka_.SetColors(ui::clBlack, ui::clWhite);

  souhrn_.Create(page, ids::kStatistikaSouhrn, {8, height - summary + 6, width - 16, 20});
  souhrn_.SetFont(Plain(11));
  souhrn_.SetColor(ui::clBlack);
}

void CodeWindow::ExportStatistics() {
  const CodeWindowModel* model = binder_.model();
  if (!model) return;
  const DateTime& month = model->view().statistics.mesic;
  char name[32];
  std::snprintf(name, sizeof name, "statistika-%04d-%02d.csv", month.year, month.month);
  if (const auto path = AskCsvPath(hwnd(), name)) {
    binder_.Run(&CodeWindowModel::OnExportovatCsv, *path);
  }
}

void CodeWindow::MirrorStatistics(const StatisticsTab& s) {
  const DateTime shown = mesic_.Date();
  if (shown.year != s.mesic.year || shown.month != s.mesic.month) mesic_.SetDate(s.mesic);
  // The figures are new only when read again: the chart and the table are redrawn then.
  if (statisticsShown_ != s.revision) {
    statisticsShown_ = s.revision;
    tabulka_.SetRows(s.rows);
    InvalidateRect(chart_.hwnd(), nullptr, FALSE);
  }
  if (souhrn_.Caption() != s.souhrn) souhrn_.SetCaption(s.souhrn);
}

}  // namespace sentavo::admin
