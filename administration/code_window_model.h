// The code-management window "Správa uživatelských kódů": its four tabs' controls as data and
// the operations behind its buttons. The Win32 window mirrors the view and passes every edit of
// the operator (texts, check boxes, the chosen type, the pickers, the list selection, the active
// tab) and every press to one On... method.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "administration/admin_state.h"
#include "administration/overview.h"
#include "administration/ui_requests.h"
#include "formats/codes_list.h"
#include "formats/config_record.h"
#include "formats/oledate.h"
#include "formats/rights.h"
#include "ui/list_rows.h"

namespace sentavo::admin {

class LoginWindowModel;

enum class CodeTab { Prehled = 0, VydaneKody = 1, VytvareniKodu = 2, Nastaveni = 3 };

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
  CodeNames vydane;                     // the issued-codes list, in order of issue
  ui::RowHistory vydaneRows;            // its changes, which the list control follows
  std::optional<std::size_t> selected;  // single selection; none at start
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

struct CodeWindowView {
  bool visible = false;
  CodeTab activeTab = CodeTab::VydaneKody;
  OverviewTab overview;
  IssuedCodesTab issued;
  CodeCreationTab creation;
  SettingsTab settings;
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

  // "Vydané kódy".
  void OnVydaneSelected(std::optional<std::size_t> index);
  Requests OnOdstranit();
  void OnVydaneDoubleClick();

  // "Nastavení".
  void OnAdminhesloChanged(std::string text);
  void OnServercestaChanged(std::string text);
  void OnPozadiFileChanged(std::string text);
  void OnProvozChanged(std::string text);
  Requests OnUlozitNastaveni();
  Requests OnOrderLink();

 private:
  void SetValidityWindow(int days);
  std::string Share() const;
  void SelectStation(std::string station);
  void UpdatePrikazInfo();
  Requests Send(const StationCommand& command);
  // Applies `edit` to the issued-codes list and saves the list.
  void SaveIssuedCodes(Requests& out, const std::function<void()>& edit);
  // Every change of the issued-codes list goes through these three, so that the list control
  // learns of each one.
  void ReplaceIssued(CodeNames names);
  void AppendIssued(std::string_view name);
  void EraseIssued(std::size_t index);

  AdminState& state_;
  LoginWindowModel& login_;
  CodeWindowView view_;
  // False while codes.dat was there but could not be read: the window then holds only part of
  // the list, and writing it would drop the rest.
  bool listLoaded_ = true;
  // The latest command this program wrote to each PC, as "Zamknout (14:05:00)", for the label.
  struct SentCommand {
    std::string caption;
    std::string at;
    bool pickedUp = false;
  };
  std::map<std::string, SentCommand> sent_;
};

}  // namespace sentavo::admin
