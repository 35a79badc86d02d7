// The code-management window "Správa uživatelských kódů": its four tabs' controls as data and
// the operations behind its buttons. The Win32 window mirrors the view and passes every edit of
// the operator (texts, check boxes, the chosen type, the pickers, the list selection, the active
// tab) and every press to one On... method.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "administration/admin_state.h"
#include "administration/name_filter.h"
#include "administration/overview.h"
#include "administration/statistics.h"
#include "administration/ui_requests.h"
#include "formats/codes_list.h"
#include "formats/config_record.h"
#include "formats/oledate.h"
#include "formats/rights.h"
#include "formats/voucher_sheet.h"
#include "ui/list_rows.h"

namespace sentavo::admin {

class LoginWindowModel;

enum class CodeTab {
  Prehled = 0,
  VydaneKody = 1,
  VytvareniKodu = 2,
  Nastaveni = 3,
  Statistika = 4
};

// "Přehled".
struct OverviewTab {
  std::vector<OverviewRow> rows;        // one a PC, sorted by name
  std::optional<std::size_t> selected;  // the row of selectedStation, when it has one
  std::string selectedStation;          // the selection is kept by the PC's name
  bool actionsEnabled = false;          // "Zamknout", "Přidat čas…", "Zpráva…"
  std::string prikazInfo;               // what became of the selected PC's commands
  std::string watchFolder;              // <share>stav\, whose changes refresh the list at once
};

// The items of `typkodu`, in list order; the index is the record's codeType.
inline constexpr std::size_t kCodeTypeCount = 2;

// "Vydané kódy".
struct IssuedCodesTab {
  CodeNames vydane;           // the issued-codes list, in order of issue
  std::string hledat;         // "Hledat:"; the list shows the names that hold it
  ui::RowHistory vydaneRows;  // the changes of the rows shown, which the list control follows
  // The rows shown while hledat filters, as indexes into vydane in list order; none shows all.
  std::optional<std::vector<std::size_t>> shown;
  std::optional<std::size_t> selected;  // a row shown; single selection, none at start

  std::size_t RowCount() const { return shown ? shown->size() : vydane.size(); }
  // The index into vydane of shown row `row` < RowCount().
  std::size_t NameIndex(std::size_t row) const { return shown ? (*shown)[row] : row; }
  std::string_view Row(std::size_t row) const {
    return row < RowCount() ? vydane[NameIndex(row)] : std::string_view();
  }
  // The index into vydane of the selected row, when one is selected.
  std::optional<std::size_t> SelectedName() const {
    if (!selected || *selected >= RowCount()) return std::nullopt;
    return NameIndex(*selected);
  }
};

// "Vytváření kódů".
struct CodeCreationTab {
  std::string kod;
  RightsSet rights = DefaultIssueRights();  // the fifteen check boxes in rights-set order
  bool canDivide = false;
  int budget = 3600;                   // DobaPlatnosti, seconds, 60 to 32767
  std::optional<std::size_t> typkodu;  // 0 "Jednorázový", 1 "Denní"; none until chosen
  DateTime datumod, datumdo;           // date pickers: only the date counts
  DateTime casod, casdo;               // time pickers: only the time of day counts, whole seconds
};

// "Nastavení".
struct SettingsTab {
  std::string adminheslo;
  std::string servercesta = "C:\\";
  std::string pozadiFile;
  std::string provoz;
  // The hidden group predprava: asFrontApp then the rights set; never shown, never changed.
  SwitchSet predprava = DefaultSwitches();
  bool predpravaVisible = false;

  static SwitchSet DefaultSwitches();
};

// "Statistika": the month chosen and its figures, read from the usage logs whenever the tab
// shows or another month is chosen.
struct StatisticsTab {
  DateTime mesic;  // the month picker: only the year and the month count
  MonthStatistics stats;
  std::vector<std::vector<std::string>> rows;  // the table: druh, název, období, minut
  std::string souhrn;                          // the month's totals, under the table
  std::uint64_t revision = 0;                  // counts the readings, for the window to redraw
};

// "Tisk poukázek…" on "Vytváření kódů": a batch of codes with the tab's settings, printed as
// slips.
inline constexpr int kMaxVouchers = 500;
struct VoucherDialog {
  bool open = false;
  std::string pocet = "10";  // the count as typed
  std::optional<int> count;  // that count, when it lies in 1..kMaxVouchers
  std::string info;          // how many slips and pages, or what is wrong with the count
  VoucherSheet preview;      // its first page
  VoucherSheet printed;      // the codes the last "Tisk…" issued, to be printed
};

struct CodeWindowView {
  bool visible = false;
  CodeTab activeTab = CodeTab::VydaneKody;
  OverviewTab overview;
  IssuedCodesTab issued;
  CodeCreationTab creation;
  SettingsTab settings;
  StatisticsTab statistics;
  VoucherDialog vouchers;
};

class CodeWindowModel {
 public:
  CodeWindowModel(AdminState& state, LoginWindowModel& login);
  CodeWindowModel(const CodeWindowModel&) = delete;
  CodeWindowModel& operator=(const CodeWindowModel&) = delete;

  const CodeWindowView& view() const { return view_; }

  // The login window's showing: the settings tab takes the configuration file's values (the
  // default password when there is none), and the default password is warned about. Throws
  // FileError.
  void ReadConfiguration(Requests& out);

  // The login's part: shows the window on "Vydané kódy" (the validity window is set afresh only
  // when the window was hidden), then loads codes.dat when it exists. Throws FileError.
  void ShowAfterLogin(Requests& out);

  // The close box: the window hides and the login window shows again.
  Requests OnClose();

  void OnTabChanged(CodeTab tab);

  // "Přehled". The window refreshes every 2 seconds and whenever the stav folder changes; the
  // model reads the status files only while the window shows.
  void OnPrehledRefresh();
  void OnPrehledSelected(std::optional<std::size_t> index);
  // The commands to the selected PC. The minutes and the text come from the window's small
  // dialogs as typed; anything out of range is refused with a box and nothing is written.
  Requests OnZamknout();
  Requests OnPridatCas(std::string minutes);
  Requests OnZprava(std::string message);

  // "Vytváření kódů".
  void OnKodChanged(std::string text);
  void OnRightChanged(Right right, bool checked);
  void OnCanDivideChanged(bool checked);
  void OnTypKoduChanged(std::optional<std::size_t> index);
  void OnDatumOdChanged(DateTime date);
  void OnDatumDoChanged(DateTime date);
  void OnCasOdChanged(DateTime time);
  void OnCasDoChanged(DateTime time);
  void OnNavrhnout();
  void OnBudgetButton(int hours);  // "1. hodina", "2. hodiny", "3. hodiny"
  // Text typed into the budget's number box; `localeSeparator` is the user's thousands separator.
  void OnBudgetTyped(std::string_view text, std::string_view localeSeparator);
  Requests OnUlozitKod();
  // "Tisk poukázek…" opens the dialog when the tab's settings can be issued.
  Requests OnTiskPoukazek();
  void OnPocetPoukazekChanged(std::string text);
  // The print dialog's OK: issues the codes (never over an existing one), puts them on the list
  // and leaves them in vouchers.printed for the window to print.
  Requests OnVoucherPrint();
  void OnVoucherDialogClosed();
  // The print dialog found no printer (no reason) or the print job could not start: nothing was
  // issued.
  Requests OnPrinterUnavailable(std::string reason);
  // The printer's answer to the pages of vouchers.printed: none is a whole job.
  Requests OnVouchersPrinted(std::optional<std::string> failure);

  // "Vydané kódy".
  // Filters the list as the operator types; the selected code stays selected while shown.
  void OnHledatChanged(std::string text);
  void OnVydaneSelected(std::optional<std::size_t> index);
  Requests OnOdstranit();
  void OnVydaneDoubleClick();

  // "Statistika". The export writes the table to `path`, as chosen in the save dialog.
  void OnMesicChanged(DateTime month);
  void OnStatistikaRefresh();
  Requests OnExportovatCsv(const std::string& path);

  // "Nastavení".
  void OnAdminhesloChanged(std::string text);
  void OnServercestaChanged(std::string text);
  void OnPozadiFileChanged(std::string text);
  void OnProvozChanged(std::string text);
  Requests OnUlozitNastaveni();
  Requests OnOrderLink();

 private:
  void SetValidityWindow(int days);
  // The record that "Uložit kód" and the vouchers write, from the tab's settings as they are now.
  TCodeRecord IssuedRecord() const;
  void UpdateVoucherPreview();
  std::string Share() const;
  void SelectStation(std::string station);
  void UpdatePrikazInfo();
  Requests Send(const StationCommand& command);
  // Applies `edit` to the issued-codes list and saves the list.
  void SaveIssuedCodes(Requests& out, const std::function<void()>& edit);
  // Every change of the issued-codes list goes through these three, so that the list control
  // learns of each one.
  void ReplaceIssued(CodeNames names);
  void AppendIssued(std::span<const std::string> names);
  void EraseIssued(std::size_t index);
  // Computes the rows shown for hledat afresh; the list control then refills.
  void Refilter();
  // Selects the row that shows vydane[name], or none when it is not shown.
  void SelectName(std::optional<std::size_t> name);

  AdminState& state_;
  LoginWindowModel& login_;
  CodeWindowView view_;
  // False while codes.dat was there but could not be read: the window then holds only part of
  // the list, and writing it would drop the rest.
  bool listLoaded_ = true;
  // The names folded for "Hledat:", built at the first keystroke after the list changed.
  std::optional<NameFilter> filter_;
  // The latest command this program wrote to each PC, as "Zamknout (14:05:00)", for the label.
  struct SentCommand {
    std::string caption;
    std::string at;
    bool pickedUp = false;
  };
  std::map<std::string, SentCommand> sent_;
};

}  // namespace sentavo::admin
