#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"

namespace sentavo::admin {
namespace {

const ui::TColor kDarkGreen = ui::MakeColor(0, 100, 0);

ui::FontSpec Verdana(int height, bool bold = false) {
  ui::FontSpec font = ui::VerdanaBold(height);
  font.bold = bold;
  return font;
}

// Text boxes keep the system's dark text on their light background.
ui::FontSpec BoxFont(int height, bool bold = false) {
  ui::FontSpec font = Verdana(height, bold);
  font.color = ui::clWindowText;
  return font;
}

void WhiteOnBlack(ui::Label& label, const ui::FontSpec& font) {
  label.SetFont(font);
  label.SetColor(ui::clBlack);
}

void WhiteOnBlack(ui::Control& control, const ui::FontSpec& font) {
  control.SetFont(font);
  control.SetColor(ui::clBlack);
}

void Colored(widgets::TColorButton& button, ui::TColor color) {
  button.SetColor(color);
  button.SetFont(ui::VerdanaBold(12));
}

void SetIfDifferent(ui::Window& window, const std::string& text) {
  if (window.Text() != text) window.SetText(text);
}

}  // namespace

bool CodeWindow::Build(HICON icon) {
  ui::FormSpec desc;
  desc.caption = text::kCodeWindowCaption;
  desc.bounds = {0, 0, 600, 560};
  desc.toolWindow = true;
  desc.color = ui::clBlack;
  if (!CreateForm(desc)) return false;
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

  const ui::Size client = ClientSize();
  if (!pages_.Create(hwnd(), ids::kPages, {0, 0, client.cx, client.cy})) return false;
  pages_.Tabs().SetFont(Verdana(12, true));
  overviewPage_ = &pages_.AddPage(std::string(text::kTabOverview));
  issuedPage_ = &pages_.AddPage(std::string(text::kTabIssued));
  creationPage_ = &pages_.AddPage(std::string(text::kTabCreation));
  settingsPage_ = &pages_.AddPage(std::string(text::kTabSettings));
  statisticsPage_ = &pages_.AddPage(std::string(text::kTabStatistics));
  for (ui::TabSheet* page :
       {overviewPage_, issuedPage_, creationPage_, settingsPage_, statisticsPage_}) {
    page->SetColor(ui::clBlack);
  }
  binder_.BindValue(pages_.OnChange, &CodeWindowModel::OnTabChanged,
                    [this] { return TabOf(pages_.ActivePage()); });
  const ui::Size page = issuedPage_->ClientSize();
  BuildOverviewTab(overviewPage_->hwnd(), page.cx, page.cy);
  BuildIssuedTab(issuedPage_->hwnd(), page.cx, page.cy);
  BuildCreationTab(creationPage_->hwnd());
  BuildSettingsTab(settingsPage_->hwnd());
  BuildStatisticsTab(statisticsPage_->hwnd(), page.cx, page.cy);
  // The close box hides the window and brings the login window back.
  binder_.BindEvent(OnClose, &CodeWindowModel::OnClose);
  return true;
}

void CodeWindow::BuildIssuedTab(HWND page, int width, int height) {
  const int bar = 48;
  const int search = 36;
  hledatLabel_.Create(page, ids::kHledatLabel, {8, 10, 70, 20}, text::kHledatLabel);
  WhiteOnBlack(hledatLabel_, Verdana(12, true));
  hledat_.Create(page, ids::kHledat, {80, 4, width - 88, 28});
  hledat_.SetFont(BoxFont(12));
  binder_.Bind(hledat_, &CodeWindowModel::OnHledatChanged);
  vydane_.Create(page, ids::kVydane, {0, search, width, height - bar - search},
                 [this](std::size_t row) {
                   const CodeWindowModel* model = binder_.model();
                   return model ? model->view().issued.Row(row) : std::string_view();
                 });
  vydane_.SetFont(ui::CourierNew(16));
  vydane_.SetColor(ui::clBlack);
  binder_.Bind(vydane_, &CodeWindowModel::OnVydaneSelected);
  // The list's selection reaches the model before the press that acts on it.
  vydane_.OnDblClick = [this] {
    vydane_.OnSelect();
    binder_.Run(&CodeWindowModel::OnVydaneDoubleClick);
  };
  odstranit_.Create(page, ids::kOdstranit, {width - 150, height - bar + 8, 140, 34},
                    std::string(text::kOdstranit));
  Colored(odstranit_, ui::clRed);
  odstranit_.OnClick = [this](widgets::ColorButtonModel&) {
    vydane_.OnSelect();
    binder_.Run(&CodeWindowModel::OnOdstranit);
  };
}

void CodeWindow::BuildCreationTab(HWND page) {
  const ui::FontSpec label = Verdana(12, true);
  const ui::FontSpec check = Verdana(11);
  kodLabel_.Create(page, ids::kKodLabel, {12, 16, 50, 20}, text::kKodLabel);
  WhiteOnBlack(kodLabel_, label);
  kod_.Create(page, ids::kKod, {64, 8, 300, 34});
  kod_.SetFont([] {
    ui::FontSpec f = ui::CourierNew(24, ui::clBlack);
    f.bold = true;
    return f;
  }());
  binder_.Bind(kod_, &CodeWindowModel::OnKodChanged);
  navrhnout_.Create(page, ids::kNavrhnout, {380, 8, 180, 34}, std::string(text::kNavrhnout));
  Colored(navrhnout_, ui::clNavy);
  binder_.Bind(navrhnout_, &CodeWindowModel::OnNavrhnout);

  rightsGroup_.Create(page, ids::kRightsGroup, {8, 52, 560, 196}, text::kRightsGroup);
  WhiteOnBlack(rightsGroup_, label);
  for (std::size_t i = 0; i < kRightsCount; ++i) {
    auto box = std::make_unique<ui::CheckBox>();
    const int column = i < 8 ? 0 : 1;
    const int row = static_cast<int>(i < 8 ? i : i - 8);
    box->Create(rightsGroup_.hwnd(), ids::RightBox(RightAt(i)),
                {12 + column * 275, 22 + row * 21, 270, 20}, InfoOf(RightAt(i)).caption);
    WhiteOnBlack(*box, check);
    binder_.Bind(*box, &CodeWindowModel::OnRightChanged, RightAt(i));
    rights_[i] = std::move(box);
  }

  canDivide_.Create(page, ids::kCanDivide, {12, 256, 300, 20}, text::kCanDivide);
  WhiteOnBlack(canDivide_, check);
  binder_.Bind(canDivide_, &CodeWindowModel::OnCanDivideChanged);

  budgetLabel_.Create(page, ids::kBudgetLabel, {12, 292, 130, 20}, text::kBudgetLabel);
  WhiteOnBlack(budgetLabel_, label);
  budget_.Create(page, ids::kBudgetBox, ids::kBudgetArrows, {146, 288, 100, 26});
  budget_.Box().SetFont(BoxFont(12, true));
  budget_.SetRange(kMinBudgetSeconds, kMaxBudgetSeconds);
  budget_.SetIncrement(1);
  budget_.SetThousands(true);
  budget_.SetPosition(3600);
  budget_.OnChange = [this](int) {
    binder_.Run(&CodeWindowModel::OnBudgetTyped, budget_.Box().Text(),
                ui::SystemThousandsSeparator());
  };
  budgetUnit_.Create(page, ids::kBudgetUnit, {252, 292, 60, 20}, text::kBudgetUnit);
  WhiteOnBlack(budgetUnit_, label);
  const std::array<widgets::TColorButton*, 3> hours = {&oneHour_, &twoHours_, &threeHours_};
  const std::array<std::string_view, 3> hourCaptions = {text::kOneHour, text::kTwoHours,
                                                        text::kThreeHours};
  for (int h = 0; h < 3; ++h) {
    widgets::TColorButton& b = *hours[static_cast<std::size_t>(h)];
    b.Create(page, ids::kOneHour + h, {318 + h * 84, 286, 80, 30},
             std::string(hourCaptions[static_cast<std::size_t>(h)]));
    Colored(b, ui::clGray);
    binder_.BindWith(b, &CodeWindowModel::OnBudgetButton, h + 1);
  }

  typkodu_.Create(page, ids::kTypKodu, {146, 326, 166, 24},
                  {std::string(text::kTypeOnce), std::string(text::kTypeDaily)});
  typkodu_.SetFont(BoxFont(12));
  binder_.Bind(typkodu_, &CodeWindowModel::OnTypKoduChanged);

  validFromLabel_.Create(page, ids::kValidFromLabel, {12, 370, 130, 20}, text::kValidFrom);
  WhiteOnBlack(validFromLabel_, label);
  datumod_.Create(page, ids::kDatumOd, {146, 366, 140, 26});
  casod_.Create(page, ids::kCasOd, {292, 366, 110, 26});
  validToLabel_.Create(page, ids::kValidToLabel, {12, 404, 130, 20}, text::kValidTo);
  WhiteOnBlack(validToLabel_, label);
  datumdo_.Create(page, ids::kDatumDo, {146, 400, 140, 26});
  casdo_.Create(page, ids::kCasDo, {292, 400, 110, 26});
  for (ui::Control* picker :
       std::initializer_list<ui::Control*>{&datumod_, &casod_, &datumdo_, &casdo_}) {
    picker->SetFont(BoxFont(12));
  }
  binder_.BindValue(datumod_.OnChange, &CodeWindowModel::OnDatumOdChanged,
                    [this] { return datumod_.Date(); });
  binder_.BindValue(datumdo_.OnChange, &CodeWindowModel::OnDatumDoChanged,
                    [this] { return datumdo_.Date(); });
  binder_.BindValue(casod_.OnChange, &CodeWindowModel::OnCasOdChanged,
                    [this] { return casod_.Time(); });
  binder_.BindValue(casdo_.OnChange, &CodeWindowModel::OnCasDoChanged,
                    [this] { return casdo_.Time(); });

  ulozitKod_.Create(page, ids::kUlozitKod, {418, 380, 150, 40}, std::string(text::kUlozitKod));
  Colored(ulozitKod_, kDarkGreen);
  binder_.Bind(ulozitKod_, &CodeWindowModel::OnUlozitKod);

  tiskPoukazek_.Create(page, ids::kTiskPoukazek, {418, 428, 150, 34},
                       std::string(text::kTiskPoukazek));
  Colored(tiskPoukazek_, ui::clNavy);
  tiskPoukazek_.OnClick = [this](widgets::ColorButtonModel&) {
    binder_.Run(&CodeWindowModel::OnTiskPoukazek);
    const CodeWindowModel* model = binder_.model();
    if (model && model->view().vouchers.open) ShowVoucherDialog();
  };
}

void CodeWindow::BuildSettingsTab(HWND page) {
  const ui::FontSpec label = Verdana(12, true);
  passwordGroup_.Create(page, ids::kPasswordGroup, {8, 8, 560, 66}, text::kPasswordGroup);
  WhiteOnBlack(passwordGroup_, label);
  adminheslo_.Create(passwordGroup_.hwnd(), ids::kAdminHeslo, {12, 26, 300, 28});
  adminheslo_.SetPasswordChar(L'*');
  adminheslo_.SetFont(BoxFont(14, true));
  binder_.Bind(adminheslo_, &CodeWindowModel::OnAdminhesloChanged);

  settingsGroup_.Create(page, ids::kSettingsGroup, {8, 84, 560, 140}, text::kSettingsGroup);
  WhiteOnBlack(settingsGroup_, label);
  const HWND g = settingsGroup_.hwnd();
  serverPathLabel_.Create(g, ids::kServerPathLabel, {12, 24, 400, 20}, text::kServerPathLabel);
  WhiteOnBlack(serverPathLabel_, label);
  servercesta_.Create(g, ids::kServerCesta, {12, 46, 536, 24});
  servercesta_.SetEditFont(BoxFont(12));
  binder_.BindValue(servercesta_.EditField().OnChange, &CodeWindowModel::OnServercestaChanged,
                    [this] { return servercesta_.Directory(); });
  backgroundLabel_.Create(g, ids::kBackgroundLabel, {12, 80, 400, 20}, text::kBackgroundLabel);
  WhiteOnBlack(backgroundLabel_, label);
  pozadiFile_.Create(g, ids::kPozadiFile, {12, 102, 536, 24});
  pozadiFile_.SetEditFont(BoxFont(12));
  // The picture dialog: no read-only box, and the operator may resize it.
  widgets::TOpenOptions options = pozadiFile_.DialogOptions();
  options.Include(widgets::TOpenOption::ofHideReadOnly);
  options.Include(widgets::TOpenOption::ofEnableSizing);
  pozadiFile_.SetDialogOptions(options);
  binder_.BindValue(pozadiFile_.EditField().OnChange, &CodeWindowModel::OnPozadiFileChanged,
                    [this] { return pozadiFile_.FileName(); });

  establishmentLabel_.Create(page, ids::kEstablishmentLabel, {12, 240, 130, 20},
                             text::kEstablishmentLabel);
  WhiteOnBlack(establishmentLabel_, label);
  provoz_.Create(page, ids::kProvoz, {146, 236, 422, 26});
  provoz_.SetFont(BoxFont(12));
  binder_.Bind(provoz_, &CodeWindowModel::OnProvozChanged);

  ulozitNastaveni_.Create(page, ids::kUlozitNastaveni, {388, 280, 180, 40},
                          std::string(text::kUlozitNastaveni));
  Colored(ulozitNastaveni_, kDarkGreen);
  binder_.Bind(ulozitNastaveni_, &CodeWindowModel::OnUlozitNastaveni);

  // Kept for the configuration's sixteen default switches; the operator never sees it.
  predprava_.Create(page, ids::kPredprava, {8, 400, 560, 60}, text::kPredpravaGroup);
  predprava_.SetVisible(false);
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    auto box = std::make_unique<ui::CheckBox>();
    const std::string_view caption = SwitchCaption(i);
    box->Create(predprava_.hwnd(), ids::kFirstPredprava + static_cast<int>(i),
                {4 + static_cast<int>(i % 4) * 138, 16 + static_cast<int>(i / 4) * 10, 136, 10},
                caption);
    predpravaBoxes_[i] = std::move(box);
  }

  orderLink_.Create(page, ids::kOrderLink, {12, 350, 400, 44}, std::string(text::kOrderLink),
                    std::string(kOrderPage));
  ui::FontSpec link = Verdana(14, true);
  link.color = ui::MakeColor(70, 140, 255);  // a blue that reads on black
  orderLink_.SetFont(link);
  orderLink_.SetColor(ui::clBlack);
  // The model decides what a press opens; the window carries it out.
  orderLink_.SetOpener([this](const std::string&) {
    binder_.Run(&CodeWindowModel::OnOrderLink);
    return true;
  });
}

ui::TabSheet& CodeWindow::PageOf(CodeTab tab) {
  switch (tab) {
    case CodeTab::VytvareniKodu: return *creationPage_;
    case CodeTab::Nastaveni: return *settingsPage_;
    case CodeTab::Prehled: return *overviewPage_;
    case CodeTab::Statistika: return *statisticsPage_;
    case CodeTab::VydaneKody: break;
  }
  return *issuedPage_;
}

CodeTab CodeWindow::TabOf(const ui::TabSheet* page) const {
  return page == creationPage_     ? CodeTab::VytvareniKodu
         : page == settingsPage_   ? CodeTab::Nastaveni
         : page == overviewPage_   ? CodeTab::Prehled
         : page == statisticsPage_ ? CodeTab::Statistika
                                   : CodeTab::VydaneKody;
}

void CodeWindow::Mirror() {
  const CodeWindowModel* model = binder_.model();
  if (!model) return;
  const CodeWindowView& v = model->view();
  ui::TabSheet& active = PageOf(v.activeTab);
  if (pages_.ActivePage() != &active) pages_.SetActivePage(active);

  MirrorOverview(v.overview);
  MirrorStatistics(v.statistics);

  SetIfDifferent(hledat_, v.issued.hledat);
  vydane_.Follow(v.issued.vydaneRows, v.issued.RowCount());
  const int selected = v.issued.selected ? static_cast<int>(*v.issued.selected) : -1;
  if (vydane_.ItemIndex() != selected) vydane_.SetItemIndex(selected);

  const CodeCreationTab& c = v.creation;
  SetIfDifferent(kod_, c.kod);
  for (std::size_t i = 0; i < kRightsCount; ++i) rights_[i]->SetChecked(c.rights[i]);
  canDivide_.SetChecked(c.canDivide);
  if (budget_.Position() != c.budget) budget_.SetPosition(c.budget);
  const int type = c.typkodu ? static_cast<int>(*c.typkodu) : -1;
  if (typkodu_.ItemIndex() != type) typkodu_.SetItemIndex(type);
  if (DateKey(datumod_.Date()) != DateKey(c.datumod)) datumod_.SetDate(c.datumod);
  if (DateKey(datumdo_.Date()) != DateKey(c.datumdo)) datumdo_.SetDate(c.datumdo);
  if (TimeKey(casod_.Time()) != TimeKey(c.casod)) casod_.SetTime(c.casod);
  if (TimeKey(casdo_.Time()) != TimeKey(c.casdo)) casdo_.SetTime(c.casdo);

  const SettingsTab& s = v.settings;
  SetIfDifferent(adminheslo_, s.adminheslo);
  if (servercesta_.Directory() != s.servercesta) servercesta_.SetDirectory(s.servercesta);
  if (pozadiFile_.FileName() != s.pozadiFile) pozadiFile_.SetFileName(s.pozadiFile);
  SetIfDifferent(provoz_, s.provoz);
  for (std::size_t i = 0; i < kSwitchCount; ++i) predpravaBoxes_[i]->SetChecked(s.predprava[i]);
  predprava_.SetVisible(s.predpravaVisible);
}

}  // namespace sentavo::admin
