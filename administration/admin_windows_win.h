// SentavoAdmin's two windows on Win32: the login window and the code-management window. They
// only mirror their models' views and bind the operator's actions to the models' On... methods;
// every event goes through the program's one ui::EventDispatcher, which runs it, mirrors both
// windows and carries out the requests.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "administration/code_window_model.h"
#include "administration/login_window_model.h"
#include "administration/ui_requests.h"
#include "lockengine/bu_directories_win.h"
#include "ui/binding_win.h"
#include "ui/controls_win.h"
#include "ui/folder_watch_win.h"
#include "ui/form_win.h"
#include "ui/list_view_win.h"
#include "ui/menu_timer_win.h"
#include "ui/owner_data_list_win.h"
#include "ui/page_control_win.h"
#include "ui/pickers_win.h"
#include "widgets/color_button_win.h"
#include "widgets/link_label_win.h"
#include "widgets/path_box_win.h"

namespace sentavo::admin {

// "Sentavo - Admin".
class LoginWindow : public ui::Form {
 public:
  explicit LoginWindow(ui::EventDispatcher& dispatcher) : binder_(dispatcher) {}
  bool Build(HICON icon);
  // The folder current at start, as TBUDirectories reports it.
  std::string CurrentDirectory() const { return directories_.CurrentDirectory(); }
  void Attach(LoginWindowModel& model) { binder_.Attach(model); }
  void Mirror();

 private:
  ui::Binder<LoginWindowModel> binder_;
  lockengine::TBUDirectories directories_{nullptr, {}, lockengine::SystemDirectories()};
  ui::GroupBox group_;
  ui::Label label_;
  ui::Edit adminpass_;
  widgets::TColorButton konecBut_, overitKodBut_;
};

// "Správa uživatelských kódů".
class CodeWindow : public ui::Form {
 public:
  explicit CodeWindow(ui::EventDispatcher& dispatcher) : binder_(dispatcher) {}
  bool Build(HICON icon);
  void Attach(CodeWindowModel& model) { binder_.Attach(model); }
  void Mirror();

 private:
  void BuildOverviewTab(HWND page, int width, int height);
  void MirrorOverview(const OverviewTab& overview);
  void ShowOverviewMenu(POINT screen);
  void AskMinutes();
  void AskMessage();
  // The 2-second refresh, and the quick look whether the stav folder's notification fired.
  void OnRefreshTimer();
  void OnWatchTimer();
  void BuildIssuedTab(HWND page, int width, int height);
  void BuildCreationTab(HWND page);
  void BuildSettingsTab(HWND page);
  void BuildStatisticsTab(HWND page, int width, int height);
  void MirrorStatistics(const StatisticsTab& statistics);
  void ExportStatistics();
  void ShowVoucherDialog();
  static INT_PTR CALLBACK VoucherDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
  void MirrorVoucherDialog();
  void PrintVouchers(HWND dialog);
  ui::TabSheet& PageOf(CodeTab tab);
  CodeTab TabOf(const ui::TabSheet* page) const;

  ui::Binder<CodeWindowModel> binder_;
  ui::PageControl pages_;
  ui::TabSheet* overviewPage_ = nullptr;
  ui::TabSheet* issuedPage_ = nullptr;
  ui::TabSheet* creationPage_ = nullptr;
  ui::TabSheet* settingsPage_ = nullptr;
  ui::TabSheet* statisticsPage_ = nullptr;

  // "Přehled".
  ui::ReportListView prehled_;
  widgets::TColorButton zamknout_, pridatCas_, zprava_;
  ui::Label prikazInfo_;
  ui::PopupMenu prehledMenu_;
  ui::Timer refreshTimer_, watchTimer_;
  ui::FolderWatch stavWatch_;

  // "Vydané kódy".
  ui::Label hledatLabel_;
  ui::Edit hledat_;
  ui::OwnerDataListBox vydane_;
  widgets::TColorButton odstranit_;

  // "Vytváření kódů".
  ui::Label kodLabel_, budgetLabel_, budgetUnit_, validFromLabel_, validToLabel_;
  ui::Edit kod_;
  ui::GroupBox rightsGroup_;
  std::array<std::unique_ptr<ui::CheckBox>, kRightsCount> rights_;
  ui::CheckBox canDivide_;
  ui::NumberBox budget_;
  ui::ComboBox typkodu_;
  ui::DatePicker datumod_, datumdo_;
  ui::TimePicker casod_, casdo_;
  widgets::TColorButton navrhnout_, oneHour_, twoHours_, threeHours_, ulozitKod_, tiskPoukazek_;
  HWND voucherDialog_ = nullptr;  // "Tisk poukázek" while it shows
  ui::PaintBox voucherPreview_;

  // "Nastavení".
  ui::GroupBox passwordGroup_, settingsGroup_, predprava_;
  ui::Edit adminheslo_, provoz_;
  ui::Label serverPathLabel_, backgroundLabel_, establishmentLabel_;
  widgets::TBUDirectoryBox servercesta_;
  widgets::TBUFileNameBox pozadiFile_;
  std::array<std::unique_ptr<ui::CheckBox>, kSwitchCount> predpravaBoxes_;
  widgets::TColorButton ulozitNastaveni_;
  widgets::TLinkLabel orderLink_;

  // "Statistika".
  ui::Label mesicLabel_, souhrn_;
  ui::DatePicker mesic_;
  widgets::TColorButton exportovat_;
  ui::PaintBox chart_;
  ui::ReportListView tabulka_;
  std::uint64_t statisticsShown_ = 0;  // the reading the chart and the table show
};

}  // namespace sentavo::admin
