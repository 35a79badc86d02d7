// LockWindow: the full-screen lock window of SentavoClient. It binds every user event and timer
// tick to one On... method of the LockScreen model (ui/binding_win.h), mirrors the model's view
// into its controls and carries out the model's requests; it decides nothing itself.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "client/lock_screen.h"
#include "client/lock_screen_model.h"
#include "client/monitor_covers_win.h"
#include "client/notice_window_win.h"
#include "client/services_win.h"
#include "formats/clock.h"
#include "formats/file_access.h"
#include "lockengine/bu_mouse_positionner.h"
#include "lockengine/bu_tray_icon.h"
#include "lockengine/global_hot_key.h"
#include "lockengine/systemlock.h"
#include "ui/binding_win.h"
#include "ui/controls_win.h"
#include "ui/form_win.h"
#include "ui/menu_timer_win.h"
#include "ui/page_control_win.h"
#include "widgets/color_button_win.h"
#include "widgets/lcd_display_win.h"
#include "widgets/link_label_win.h"
#include "widgets/path_box_win.h"
#include "widgets/picture_win.h"

namespace sentavo::client {

// PopupMenu1 as the tray icon sees a menu.
class TrayMenu : public lockengine::PopupMenuRef {
 public:
  TrayMenu(ui::Component* owner, std::string name, std::function<HWND()> window);
  ui::PopupMenu& Menu() { return menu_; }
  lockengine::MenuHandle Handle() const override { return 0; }
  void Popup(std::int32_t x, std::int32_t y) override;

 private:
  ui::PopupMenu menu_;
  std::function<HWND()> window_;
};

// SysLock as the model's sixteen switches.
class SysLockPort final : public SystemLockPort {
 public:
  explicit SysLockPort(lockengine::TSystemLock& lock) : lock_(lock) {}
  void SetSwitch(std::size_t index, bool value) override;
  void RestoreAll() override { lock_.RestoreAll(); }
  bool IsGinaInstalled() override { return lock_.IsGinaInstalled(); }
  bool InstallGina() override { return lock_.InstallGina(); }
  bool TrialMode() override;

 private:
  lockengine::TSystemLock& lock_;
};

class MousePort final : public PointerPort {
 public:
  explicit MousePort(lockengine::TBUMousePositionner& positionner) : positionner_(positionner) {}
  ScreenPoint CursorPos() override;
  void ExecuteEx(ScreenPoint target, int steps, int delayMs) override;

 private:
  lockengine::TBUMousePositionner& positionner_;
};

// Makes the window's model from the window's own services: the lock screen itself, or a proxy
// of one that runs elsewhere.
using ModelFactory = std::function<std::unique_ptr<LockScreenModel>(const LockScreenServices&)>;

class LockWindow final : public ui::Form, public lockengine::FormWindow, private ui::RequestHost {
 public:
  // Posted by another thread that has news for the model: the model's fast tick runs at once
  // instead of at its next turn.
  static constexpr UINT kWakeMessage = WM_APP + 71;

  // `application` is the hidden application window that carries the taskbar button; without a
  // factory the model is the lock screen itself.
  explicit LockWindow(HWND application, ModelFactory factory = {});

  // Creates the window and its components and runs the start-up sequence; the window stays hidden.
  bool Create();
  // Shows the window maximised (the first show writes the title line).
  void ShowLocked();
  // The exit code asked for by the model when it closed the window.
  int ExitCode() const { return exitCode_; }

  lockengine::WindowHandle FormHandle() const override {
    return reinterpret_cast<lockengine::WindowHandle>(hwnd());
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateComponents();
  void CreateTopBar();
  void CreateLoginPage();
  void CreateSettingsPage();
  void WireEvents();
  void Layout();
  void Mirror();
  void SetBackground(widgets::PictureBox& picture, const std::string& file);

  // ui::RequestHost.
  HWND MessageOwner() const override { return hwnd(); }
  void OnShowWindow(const ui::ShowWindowRequest& request) override;
  void OnEndProgram(const ui::EndProgramRequest& request) override;
  void OnWindowAction(ui::WindowAction action) override;
  void OnNotice(const ui::NoticeRequest& request) override;

  HWND application_;
  int exitCode_ = 0;
  bool firstShown_ = false;
  ui::EventDispatcher dispatcher_{*this};
  ui::Binder<LockScreenModel> binder_{dispatcher_};
  ModelFactory factory_;
  std::optional<LockScreenView> shown_;
  MonitorCovers covers_;  // the other monitors, while locked

  // Services of the model.
  SystemClock clock_;
  std::unique_ptr<DateTimeFormats> formats_;
  LocalFiles files_;
  std::unique_ptr<SysLockPort> sysLockPort_;
  std::unique_ptr<MousePort> mousePort_;
  Win32Environment environment_;
  Win32MachineIdentity identity_;
  StationInfo station_ = ThisStation(/*guarded=*/false);
  Notices notices_;
  std::unique_ptr<LockScreenModel> model_;

  // The top bar.
  ui::Panel topBar_, odpocetPanel_, hodinkyPanel_;
  widgets::TLcdDisplay odpocetLED_, hodinky_;
  ui::Label tit_, trialMode_;
  ui::Bounds trialModeLine_;  // the warning on one line, as sized to its text
  ui::PageControl pages_;
  ui::TabSheet* tabSheet1_ = nullptr;
  ui::TabSheet* tabSheet2_ = nullptr;

  // TabSheet1.
  widgets::PictureBox pozadi_, logoBig_;
  ui::Label zamceno_, infoLabel_, label1_, datod_, datdo_, smidelit_;
  ui::Bevel bevel1_;
  ui::Edit kod_;
  widgets::TColorButton odhlasitUseraBut_, prihlasitBut_, skrytBut_;

  // TabSheet2.
  widgets::PictureBox pozadi2_;
  ui::Label heading_, servercestaLabel_, uidLabel_, uid_, provozLabel_, pozadiLabel_;
  ui::GroupBox adminpass_, nastaveni_, userAds_;
  ui::Edit adminheslo_, provoz_;
  widgets::TBUDirectoryBox servercesta_;
  widgets::TBUFileNameBox pozadiFile_;
  std::array<ui::CheckBox, kSwitchCount> switches_;
  widgets::TColorButton konecBut_, povolitVseBut_, odhlasitAdmina_, zamknoutBut_, zrusitBut_,
      ulozitDefaultBut_;
  widgets::TLinkLabel orderLink_;

  // The components, last, in order of creation: they go first, newest first, while the model they
  // call and the controls they touch still exist. SysLock lifts every block as it goes.
  std::unique_ptr<lockengine::TSystemLock> sysLock_;
  std::unique_ptr<lockengine::TGlobalHotKey> hotKey_;
  std::unique_ptr<TrayMenu> popupMenu_;
  std::unique_ptr<lockengine::TBUTrayIcon> tray_;
  std::unique_ptr<lockengine::TBUMousePositionner> positionner_;
  std::unique_ptr<ui::Timer> timer1_;
  std::unique_ptr<ui::Timer> timer2_;
};

}  // namespace sentavo::client
