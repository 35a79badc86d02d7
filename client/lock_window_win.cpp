#include "client/lock_window_win.h"

#include <span>

#include "client/lock_window_ids.h"
#include "formats/registry_win.h"
#include "formats/rights.h"
#include "formats/wide_win.h"
#include "gina/trial_mode_win.h"
#include "lockengine/bu_mouse_positionner_win.h"
#include "lockengine/bu_tray_icon_win.h"
#include "lockengine/global_hot_key_win.h"
#include "lockengine/systemlock_win.h"

extern const unsigned char sentavo_background_jpg[];
extern const unsigned long long sentavo_background_jpg_size;

namespace sentavo::client {
namespace {

constexpr UINT kCloseProgram = WM_APP + 1;
constexpr int kTopBarHeight = 34;
constexpr lockengine::TShortCut kHotKey = 57392;  // Ctrl+Alt+Shift+0

// The program's own background, decoded once: both pages show this one graphic, which keeps one
// bitmap of it at the size it is drawn.
std::shared_ptr<const widgets::Graphic> BuiltInBackground() {
  static const std::shared_ptr<const widgets::Graphic> graphic = widgets::DecodeGraphic(
      {sentavo_background_jpg, static_cast<std::size_t>(sentavo_background_jpg_size)},
      widgets::PictureKind::Jpeg);
  return graphic;
}

void MakeLabel(ui::Label& label, HWND parent, int id, int x, int y, std::string_view text,
               int fontHeight, ui::TColor color = ui::clWhite) {
  label.Create(parent, id, {x, y, 10, 10}, text);
  label.SetFont(ui::VerdanaBold(fontHeight, color));
  label.SetTransparent(true);
  label.SetAutoSize(true);
}

void MakeButton(widgets::TColorButton& button, HWND parent, int id, const ui::Bounds& bounds,
                std::string_view caption, ui::TColor color) {
  button.Create(parent, id, bounds, std::string(caption));
  button.SetColor(color);
  button.SetFont(ui::VerdanaBold(13));
}

}  // namespace

TrayMenu::TrayMenu(ui::Component* owner, std::string name, std::function<HWND()> window)
    : lockengine::PopupMenuRef(owner, std::move(name)), window_(std::move(window)) {}

void TrayMenu::Popup(std::int32_t x, std::int32_t y) {
  menu_.Popup(window_(), {x, y});
}

void SysLockPort::SetSwitch(std::size_t index, bool value) {
  if (const std::optional<Right> right = RightOfSwitch(index)) {
    lock_.SetSwitch(lockengine::SwitchOfRight(*right), value);
  } else {
    lock_.SetasFrontApp(value);
  }
}

// The library decides by this same value, at each of its calls.
bool SysLockPort::TrialMode() {
  return !gina::TrialJournalPath().empty();
}

ScreenPoint MousePort::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void MousePort::ExecuteEx(ScreenPoint target, int steps, int delayMs) {
  positionner_.ExecuteEx({target.x, target.y}, steps, static_cast<std::uint32_t>(delayMs));
}

LockWindow::LockWindow(HWND application, ModelFactory factory)
    : ui::Form(nullptr, "Form1"),
      application_(application),
      factory_(std::move(factory)),
      formats_(MakeSystemFormats()) {}

bool LockWindow::Create() {
  ui::FormSpec desc;
  desc.caption = texts::kWindowCaption;
  desc.borderless = true;
  desc.stayOnTop = true;
  desc.maximized = true;
  desc.color = ui::clBlack;
  if (!CreateForm(desc)) return false;
  // The hidden application window owns the form, so the form has no taskbar button of its own.
  SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(application_));
  OnCloseQuery = [] { return false; };  // only the model's actions end the program

  CreateComponents();
  CreateTopBar();
  pages_.Create(hwnd(), ids::kPages, {0, kTopBarHeight, 100, 100}, /*tabsAtBottom=*/true);
  tabSheet1_ = &pages_.AddPage(std::string(texts::kTabSheet1));
  tabSheet2_ = &pages_.AddPage(std::string(texts::kTabSheet2));
  tabSheet1_->SetColor(ui::clBlack);
  tabSheet2_->SetColor(ui::clBlack);
  CreateLoginPage();
  CreateSettingsPage();
  Layout();

  sysLockPort_ = std::make_unique<SysLockPort>(*sysLock_);
  mousePort_ = std::make_unique<MousePort>(*positionner_);
  const LockScreenServices services{clock_,        *formats_,   files_,       ProcessRegistry(),
                                    *sysLockPort_, *mousePort_, environment_, identity_,
                                    &station_};
  model_ = factory_ ? factory_(services) : std::make_unique<LockScreen>(services);
  binder_.Attach(*model_);
  dispatcher_.AddMirror([this] { Mirror(); });
  dispatcher_.SetRequestSource([this] { return model_->TakeRequests(); });
  // After the model has ended the program it takes no further events.
  dispatcher_.SetAccepting([this] { return !model_->ended(); });
  WireEvents();

  timer1_ = std::make_unique<ui::Timer>(this, "Timer1");
  timer1_->SetInterval(1000);
  binder_.BindEvent(timer1_->OnTimer, &LockScreenModel::OnTimer1);
  timer2_ = std::make_unique<ui::Timer>(this, "Timer2");
  timer2_->SetInterval(1);  // the system makes this its shortest interval
  binder_.BindEvent(timer2_->OnTimer, &LockScreenModel::OnTimer2);

  binder_.Run(&LockScreenModel::Start);
  return true;
}

void LockWindow::CreateComponents() {
  sysLock_ = std::make_unique<lockengine::TSystemLock>(this, "SysLock",
                                                       lockengine::DefaultSystemLockPlatform());
  hotKey_ = std::make_unique<lockengine::TGlobalHotKey>(this, "GlobalHotKey1",
                                                        lockengine::MakeWin32HotKeyBackend());
  hotKey_->SetKey(kHotKey);
  binder_.BindEvent(hotKey_->OnHotKey, &LockScreenModel::OnHotKey);

  popupMenu_ = std::make_unique<TrayMenu>(this, "PopupMenu1", [this] { return hwnd(); });
  popupMenu_->Menu().Add(
      std::string(texts::kZobrazitSentavo),
      [this] { binder_.Run(&LockScreenModel::OnZobrazitSentavo); }, "ZobrazitSentavo1");

  tray_ = std::make_unique<lockengine::TBUTrayIcon>(this, "BUTrayIcon1",
                                                    lockengine::MakeWin32TrayBackend(this));
  tray_->SetIcon(
      reinterpret_cast<lockengine::IconHandle>(LoadIconW(ui::ModuleInstance(), L"MAINICON")));
  tray_->SetHint(std::string(texts::kApplicationTitle));
  tray_->PopupMenu = popupMenu_.get();
  tray_->DropDownMenu = popupMenu_.get();
  tray_->SetVisibleInTaskList(false);

  positionner_ = std::make_unique<lockengine::TBUMousePositionner>(this, "BUMousePositionner1",
                                                                   lockengine::SystemCursor());
}

void LockWindow::CreateTopBar() {
  topBar_.Create(hwnd(), 0, {0, 0, 100, kTopBarHeight});
  topBar_.SetColor(ui::clBlack);
  const ui::TColor unlit = ui::MakeColor(35, 35, 35);
  auto lcd = [&](ui::Panel& panel, widgets::TLcdDisplay& display, int id, int left) {
    panel.Create(topBar_.hwnd(), 0, {left, 2, 129, 31}, ui::TPanelBevel::bvLowered);
    panel.SetColor(ui::clBlack);
    display.Create(panel.hwnd(), id, {3, 3, 124, 22});
    display.SetDigitNum(8);
    display.SetColor(ui::clBlack);
    display.SetOnColor(ui::clWhite);
    display.SetOffColor(unlit);
    display.SetValue(texts::kLcdAtDesign);
  };
  lcd(odpocetPanel_, odpocetLED_, ids::kOdpocetLED, 8);
  lcd(hodinkyPanel_, hodinky_, ids::kHodinky, 192);
  MakeLabel(tit_, topBar_.hwnd(), ids::kTit, 336, 7, "", 15);
  // Shown from the start, so that it is never missing; the model hides it when the library blocks.
  MakeLabel(trialMode_, topBar_.hwnd(), ids::kTrialMode, 336, 9, texts::kTrialMode, 13,
            ui::MakeColor(255, 0, 0));
  trialModeLine_ = trialMode_.GetBounds();
  trialMode_.SetAutoSize(false);  // Layout sizes it: one line, or two where the bar is narrow
}

void LockWindow::CreateLoginPage() {
  const HWND page = tabSheet1_->hwnd();
  pozadi_.Create(page, ids::kPozadi, {0, 0, 100, 100});
  pozadi_.SetFit(widgets::PictureFit::Stretch);
  pozadi_.SetGraphic(BuiltInBackground());
  logoBig_.Create(page, ids::kLogoBig, {0, 0, 100, 100});
  logoBig_.SetFit(widgets::PictureFit::Center);
  logoBig_.SetTransparent(true);

  MakeLabel(zamceno_, page, ids::kZamceno, 8, 8, texts::kZamceno, 13, ui::MakeColor(255, 0, 0));
  MakeLabel(infoLabel_, page, ids::kInfoLabel, 56, 80, "", 13, ui::clSilver);
  bevel1_.Create(page, ids::kBevel1, {56, 112, 385, 201});
  MakeLabel(label1_, page, ids::kLabel1, 88, 128, texts::kLabel1, 16);
  kod_.Create(page, ids::kKod, {80, 168, 329, 26});
  kod_.SetPasswordChar(L'*');
  kod_.SetColor(ui::clBlack);
  kod_.SetFont(ui::VerdanaBold(16, ui::clWhite));
  MakeButton(odhlasitUseraBut_, page, ids::kOdhlasitUseraBut, {80, 232, 161, 57},
             texts::kOdhlasitUseraBut, ui::MakeColor(255, 0, 0));
  MakeButton(prihlasitBut_, page, ids::kPrihlasitBut, {248, 232, 161, 57}, texts::kPrihlasitBut,
             ui::MakeColor(0, 64, 0));
  MakeButton(skrytBut_, page, ids::kSkrytBut, {160, 328, 161, 57}, texts::kSkrytBut,
             ui::MakeColor(0, 0, 64));
  MakeLabel(datod_, page, ids::kDatod, 40, 408, "", 16, ui::clGreen);
  MakeLabel(datdo_, page, ids::kDatdo, 40, 432, "", 16, ui::clGreen);
  MakeLabel(smidelit_, page, ids::kSmidelit, 40, 464, "", 16, ui::clGreen);
  // The frame and the pictures lie below every other control of the page, the background lowest.
  bevel1_.SendToBack();
  logoBig_.SendToBack();
  pozadi_.SendToBack();
}

void LockWindow::CreateSettingsPage() {
  const HWND page = tabSheet2_->hwnd();
  pozadi2_.Create(page, ids::kPozadi2, {0, 0, 100, 100});
  pozadi2_.SetFit(widgets::PictureFit::Stretch);
  pozadi2_.SetGraphic(BuiltInBackground());
  MakeLabel(heading_, page, ids::kHeading, 16, 8, texts::kTabSheet2, 16);

  auto group = [&](ui::GroupBox& box, int id, const ui::Bounds& bounds, std::string_view text) {
    box.Create(page, id, bounds, text);
    box.SetFont(ui::VerdanaBold(13));
    box.SetColor(ui::clBlack);
  };
  auto edit = [](ui::Edit& e, HWND parent, int id, const ui::Bounds& bounds) {
    e.Create(parent, id, bounds);
    e.SetFont(ui::VerdanaBold(13, ui::clBlack));
  };

  group(adminpass_, ids::kAdminpass, {16, 40, 420, 60}, texts::kAdminpass);
  edit(adminheslo_, adminpass_.hwnd(), ids::kAdminheslo, {12, 24, 396, 24});
  adminheslo_.SetPasswordChar(L'*');

  group(nastaveni_, ids::kNastaveni, {16, 112, 420, 84}, texts::kNastaveni);
  MakeLabel(servercestaLabel_, nastaveni_.hwnd(), ids::kServercestaLabel, 12, 24,
            texts::kServercestaLabel, 13);
  servercesta_.Create(nastaveni_.hwnd(), ids::kServercesta, {12, 48, 396, 24});
  servercesta_.SetDirectory("C:\\");

  MakeLabel(uidLabel_, page, ids::kUidLabel, 16, 216, texts::kUidLabel, 13);
  MakeLabel(uid_, page, ids::kUid, 236, 216, "", 13);
  MakeLabel(provozLabel_, page, ids::kProvozLabel, 16, 248, texts::kProvozLabel, 13);
  edit(provoz_, page, ids::kProvoz, {236, 244, 200, 24});
  MakeLabel(pozadiLabel_, page, ids::kPozadiLabel, 16, 280, texts::kPozadiLabel, 13);
  pozadiFile_.Create(page, ids::kPozadiFile, {236, 276, 200, 24});

  group(userAds_, ids::kUserAds, {456, 40, 420, 20 + 22 * static_cast<int>(kSwitchCount) + 8},
        texts::kUserAds);
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    const std::string_view caption = SwitchCaption(i);
    ui::CheckBox& box = switches_[i];
    box.Create(userAds_.hwnd(), ids::SwitchBox(i), {12, 22 + 22 * static_cast<int>(i), 396, 20},
               caption);
    box.SetFont(ui::VerdanaBold(12));
    box.SetColor(ui::clBlack);
  }

  const int row = 440;
  MakeButton(konecBut_, page, ids::kKonecBut, {16, row, 136, 41}, texts::kKonecBut,
             ui::MakeColor(255, 0, 0));
  MakeButton(povolitVseBut_, page, ids::kPovolitVseBut, {160, row, 136, 41}, texts::kPovolitVseBut,
             ui::MakeColor(64, 0, 128));
  MakeButton(odhlasitAdmina_, page, ids::kOdhlasitAdmina, {304, row, 136, 41},
             texts::kOdhlasitAdmina, ui::MakeColor(255, 0, 0));
  MakeButton(zamknoutBut_, page, ids::kZamknoutBut, {448, row, 136, 41}, texts::kZamknoutBut,
             ui::MakeColor(128, 64, 0));
  MakeButton(zrusitBut_, page, ids::kZrusitBut, {592, row, 136, 41}, texts::kZrusitBut,
             ui::MakeColor(0, 64, 0));
  MakeButton(ulozitDefaultBut_, page, ids::kUlozitDefaultBut, {736, row, 136, 41},
             texts::kUlozitDefaultBut, ui::MakeColor(64, 128, 128));
  orderLink_.Create(page, ids::kOrderLink, {16, 500, 400, 44}, std::string(texts::kOrderLink),
                    std::string(kOrderPage));
  orderLink_.SetFont(ui::VerdanaBold(16, ui::MakeColor(0x33, 0x99, 0xFF)));
  pozadi2_.SendToBack();
}

void LockWindow::WireEvents() {
  using M = LockScreenModel;
  binder_.Bind(kod_, &M::OnKodChanged);
  binder_.BindEnter(kod_, &M::OnKodEnter);
  binder_.Bind(prihlasitBut_, &M::OnPrihlasitClick);
  binder_.Bind(odhlasitUseraBut_, &M::OnOdhlasitUseraClick);
  binder_.Bind(skrytBut_, &M::OnSkrytClick);
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    binder_.Bind(switches_[i], &M::OnCheckBoxChanged, i);
  }
  binder_.Bind(zamknoutBut_, &M::OnZamknout);
  binder_.Bind(povolitVseBut_, &M::OnPovolitVse);
  binder_.Bind(zrusitBut_, &M::OnZrusit);
  binder_.Bind(konecBut_, &M::OnKonec);
  binder_.Bind(odhlasitAdmina_, &M::OnOdhlasitAdmina);
  binder_.Bind(ulozitDefaultBut_, &M::OnUlozitDefault);
  // The model opens the page itself (OpenUrlRequest) and then ends the program.
  orderLink_.SetOpener([](const std::string&) { return true; });
  binder_.Bind(orderLink_, &M::OnOrderLink);
  binder_.Bind(adminheslo_, &M::OnAdminhesloChanged);
  binder_.Bind(provoz_, &M::OnProvozChanged);
  binder_.BindValue(servercesta_.EditField().OnChange, &M::OnServercestaChanged,
                    [this] { return servercesta_.Directory(); });
  binder_.BindEvent(servercesta_.OnExit, &M::OnServercestaExit);
  binder_.BindValue(pozadiFile_.EditField().OnChange, &M::OnPozadiFileChanged,
                    [this] { return pozadiFile_.FileName(); });
  pozadiFile_.OnOpened = [this](ui::Component&, const std::string& value) {
    binder_.Run(&M::OnPozadiFilePicked, value);
  };
}

void LockWindow::Layout() {
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  const int width = rc.right, height = rc.bottom;
  topBar_.SetBounds({0, 0, width, kTopBarHeight});
  // At the bar's right end on one line; where the screen is too narrow for the title and the
  // whole warning side by side, after the title in two lines, so that a guest reads all of it.
  const ui::Bounds title = tit_.GetBounds();
  const int afterTitle = title.left + (tit_.Caption().empty() ? 0 : title.width + 16);
  const int room = width - 8 - afterTitle;
  const ui::Bounds line = trialModeLine_;
  const bool oneLine = line.width <= room;
  trialMode_.SetWordWrap(!oneLine);
  trialMode_.SetBounds(oneLine
                           ? ui::Bounds{width - line.width - 8, line.top, line.width, line.height}
                           : ui::Bounds{afterTitle, 1, std::max(room, 0), kTopBarHeight - 2});
  pages_.SetBounds({0, kTopBarHeight, width, std::max(0, height - kTopBarHeight)});
  const ui::Size page = tabSheet1_->ClientSize();
  for (widgets::PictureBox* p : {&pozadi_, &logoBig_, &pozadi2_}) {
    p->SetBounds({0, 0, page.cx, page.cy});
  }
  // The background's one bitmap is made at its size now, while the window is still hidden, rather
  // than in the first paint.
  pozadi_.Prepare();
  pozadi2_.Prepare();
}

void LockWindow::SetBackground(widgets::PictureBox& picture, const std::string& file) {
  // A file that cannot be shown leaves the picture shown before.
  if (file.empty()) {
    picture.SetGraphic(BuiltInBackground());
  } else if (picture.LoadFromFile(file)) {
    picture.Prepare();
  }
}

void LockWindow::Mirror() {
  const LockScreenView& v = model_->view();
  if (shown_ && *shown_ == v) return;
  const LockScreenView* old = shown_ ? &*shown_ : nullptr;
  auto changed = [&](auto member) { return !old || old->*member != v.*member; };

  if (changed(&LockScreenView::stayOnTop)) SetStayOnTop(v.stayOnTop);
  // The other monitors are covered while locked, and the covers go on top again every second with
  // the clock, as the lock window itself does.
  if (v.stayOnTop) {
    covers_.Cover(hwnd());
  } else {
    covers_.Remove();
  }
  if (changed(&LockScreenView::borderSizeable)) {
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW | WS_POPUP);
    style |= v.borderSizeable ? WS_OVERLAPPEDWINDOW : WS_POPUP;
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  if (changed(&LockScreenView::odpocetLED)) odpocetLED_.SetValue(v.odpocetLED);
  if (changed(&LockScreenView::hodinky)) hodinky_.SetValue(v.hodinky);
  if (changed(&LockScreenView::tit)) {
    tit_.SetCaption(v.tit);
    Layout();  // the trial-mode label keeps clear of the new title line
  }
  if (changed(&LockScreenView::trialMode)) trialMode_.SetVisible(v.trialMode);

  if (changed(&LockScreenView::tabSheet2Visible)) tabSheet2_->SetTabVisible(v.tabSheet2Visible);
  if (changed(&LockScreenView::activePage) || changed(&LockScreenView::tabSheet2Visible)) {
    if (const auto page = PageToActivate(v)) {
      pages_.SetActivePage(*page == Page::TabSheet1 ? *tabSheet1_ : *tabSheet2_);
    }
  }

  if (changed(&LockScreenView::zamcenoVisible)) zamceno_.SetVisible(v.zamcenoVisible);
  if (changed(&LockScreenView::odpocetLED)) notices_.UpdateCountdown(v.odpocetLED);
  if (changed(&LockScreenView::trayHint)) tray_->SetHint(v.trayHint);
  auto label = [&](ui::Label& l, LabelView LockScreenView::*member, int fontHeight) {
    if (!changed(member)) return;
    const LabelView& lv = v.*member;
    l.SetFont(ui::VerdanaBold(fontHeight, lv.colour));
    l.SetColor(ui::clBlack);
    l.SetTransparent(lv.transparent);
    l.SetCaption(lv.text);
    l.SetVisible(lv.visible);
  };
  label(infoLabel_, &LockScreenView::infoLabel, 13);
  label(datod_, &LockScreenView::datod, 16);
  label(datdo_, &LockScreenView::datdo, 16);
  label(smidelit_, &LockScreenView::smidelit, 16);
  if (changed(&LockScreenView::kod)) {
    if (kod_.Text() != v.kod.text) kod_.SetText(v.kod.text);
    kod_.SetEnabled(v.kod.enabled);
  }
  auto button = [&](widgets::TColorButton& b, ButtonView LockScreenView::*member) {
    if (!changed(member)) return;
    b.SetEnabled((v.*member).enabled);
    b.SetVisible((v.*member).visible);
  };
  button(odhlasitUseraBut_, &LockScreenView::odhlasitUseraBut);
  button(prihlasitBut_, &LockScreenView::prihlasitBut);
  button(skrytBut_, &LockScreenView::skrytBut);
  if (changed(&LockScreenView::backgroundPicture)) SetBackground(pozadi_, v.backgroundPicture);
  if (changed(&LockScreenView::logoFile)) {
    if (v.logoFile.empty()) {
      logoBig_.Clear();
    } else {
      logoBig_.LoadFromFile(v.logoFile);
    }
  }

  auto text = [&](ui::Window& w, std::string LockScreenView::*member) {
    if (changed(member) && w.Text() != v.*member) w.SetText(v.*member);
  };
  text(adminheslo_, &LockScreenView::adminheslo);
  text(provoz_, &LockScreenView::provoz);
  text(servercesta_.EditField(), &LockScreenView::servercesta);
  text(pozadiFile_.EditField(), &LockScreenView::pozadiFile);
  if (changed(&LockScreenView::uid)) uid_.SetCaption(v.uid);
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    if (!old || old->switches[i] != v.switches[i]) switches_[i].SetChecked(v.switches[i]);
  }

  shown_ = v;
}

void LockWindow::OnShowWindow(const ui::ShowWindowRequest& request) {
  ShowWindow(hwnd(), request.visible ? SW_SHOW : SW_HIDE);
}

void LockWindow::OnEndProgram(const ui::EndProgramRequest& request) {
  exitCode_ = request.exitCode;
  PostMessageW(hwnd(), kCloseProgram, 0, 0);
}

void LockWindow::OnWindowAction(ui::WindowAction action) {
  using A = ui::WindowAction;
  switch (action) {
    case A::HideApplicationWindow: ShowWindow(application_, SW_HIDE); break;
    case A::MinimiseApplication: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case A::RestoreApplication:
      if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
      break;
    case A::BringApplicationToFront:
      if (IsWindowVisible(hwnd())) {
        SetForegroundWindow(hwnd());
        BringWindowToTop(hwnd());
      }
      break;
    case A::WindowStateNormalThenMaximised:
      if (IsWindowVisible(hwnd())) {
        ShowWindow(hwnd(), SW_SHOWNORMAL);
        ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
      }
      break;
    case A::FocusEntry:
      if (IsWindowVisible(hwnd()) && kod_.Enabled() && !kod_.Focused()) kod_.Focus();
      break;
    case A::HideTrayApplication:
      tray_->SetApplicationVisible(false);
      tray_->SetVisibleInTaskList(false);
      break;
    case A::ActivateTray: tray_->SetActive(true); break;
  }
}

void LockWindow::OnNotice(const ui::NoticeRequest& request) {
  notices_.Show(request, shown_ ? shown_->odpocetLED : std::string());
}

void LockWindow::ShowLocked() {
  ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
  UpdateWindow(hwnd());
  if (!firstShown_) {
    firstShown_ = true;
    binder_.Run(&LockScreenModel::OnFirstShow);
  }
}

LRESULT LockWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (tabSheet1_) Layout();
      break;
    case WM_DISPLAYCHANGE:
      if (shown_ && shown_->stayOnTop) covers_.Cover(hwnd());
      break;
    case kCloseProgram: DestroyWindow(hwnd()); return 0;
    case kWakeMessage: binder_.Run(&LockScreenModel::OnTimer2); return 0;
    case WM_DESTROY: PostQuitMessage(exitCode_); break;
    default: break;
  }
  return ui::Form::HandleMessage(msg, wp, lp);
}

}  // namespace sentavo::client
