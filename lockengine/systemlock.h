// TSystemLock: fifteen switches that block key combinations and parts of the Windows shell through
// lockgina.dll, the run-once entry (asFrontApp), key and mouse reports from the library, and the
// replacement start button. Every assignment of a switch makes its library call, also when the
// value does not change: the library, not this component, knows what is blocked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "formats/registry.h"
#include "formats/rights.h"
#include "lockengine/gina_library.h"
#include "lockengine/shell_types.h"
#include "lockengine/start_button.h"
#include "ui/component.h"

namespace sentavo::lockengine {

// The switches in stored order.
enum class LockSwitch : std::size_t {
  noCtrlAltDel,
  noAltTab,
  noAltEsc,
  noAltF4,
  noCtrlEsc,
  noWinkeys,
  noAppkey,
  noRButton,
  noTaskbar,
  noTaskLinks,
  noTaskTray,
  noStartbutton,
  noAltReturn,
  noAccessibilityShortcuts,
  noDesktop,
};
inline constexpr std::size_t kLockSwitchCount = 15;

// A key switch calls wlDisableKey(0, code, mask, value); an item switch wlDisableItem(code, value).
struct LockSwitchInfo {
  std::string_view property;
  bool isKey;
  std::int32_t code;  // virtual-key code, or the shell part's item number
  std::int32_t mask;  // 1 Alt, 2 Ctrl, 4 Shift, 8 Windows key
};

inline constexpr std::array<LockSwitchInfo, kLockSwitchCount> kLockSwitches = {{
    {"noCtrlAltDel", true, 46, 3},
    {"noAltTab", true, 9, 1},
    {"noAltEsc", true, 27, 1},
    {"noAltF4", true, 115, 1},
    {"noCtrlEsc", true, 27, 2},
    {"noWinkeys", true, 0, 8},
    {"noAppkey", true, 93, 0},
    {"noRButton", true, 2, 0},
    {"noTaskbar", false, 1, 0},
    {"noTaskLinks", false, 4, 0},
    {"noTaskTray", false, 5, 0},
    {"noStartbutton", false, 3, 0},
    {"noAltReturn", true, 13, 1},
    {"noAccessibilityShortcuts", false, 7, 0},
    {"noDesktop", false, 2, 0},
}};

// The switch each right drives, in the rights' order.
inline constexpr std::array<LockSwitch, kRightsCount> kSwitchOfRight = {
    LockSwitch::noAccessibilityShortcuts,  // noAccShorts
    LockSwitch::noAltEsc,                  // altEsc
    LockSwitch::noAltF4,                   // altf4
    LockSwitch::noAltReturn,               // altenter
    LockSwitch::noAltTab,                  // alttab
    LockSwitch::noAppkey,                  // appkeys
    LockSwitch::noCtrlAltDel,              // ctrlaltdel
    LockSwitch::noCtrlEsc,                 // ctrlesc
    LockSwitch::noDesktop,                 // nodesktop
    LockSwitch::noRButton,                 // noRBut
    LockSwitch::noStartbutton,             // nostart
    LockSwitch::noTaskbar,                 // notaskbar
    LockSwitch::noTaskLinks,               // notasklinks
    LockSwitch::noTaskTray,                // notasktray
    LockSwitch::noWinkeys,                 // nowinkeys
};
constexpr LockSwitch SwitchOfRight(Right r) {
  return kSwitchOfRight[RightIndex(r)];
}
constexpr const LockSwitchInfo& InfoOf(LockSwitch s) {
  return kLockSwitches[static_cast<std::size_t>(s)];
}

// Each right drives the property the rights table names for it, and no two rights share one.
static_assert([] {
  for (const Right r : kAllRights) {
    if (InfoOf(SwitchOfRight(r)).property != sentavo::InfoOf(r).property) return false;
    for (const Right other : kAllRights) {
      if (other != r && SwitchOfRight(other) == SwitchOfRight(r)) return false;
    }
  }
  return true;
}());

// The library's modifier mask as a shift state: 1 Alt, 2 Ctrl, 4 Shift; 8 has no counterpart.
TShiftState ShiftFromMask(std::uint32_t mask);

inline constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";
inline constexpr const char* kFrontAppValue = "SystemLockFrontApp";

// The hidden window that receives the library's key reports.
class KeyMessageWindow {
 public:
  virtual ~KeyMessageWindow() = default;
  virtual WindowHandle Handle() const = 0;
};
using KeyMessageHandler =
    std::function<void(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)>;

// Everything TSystemLock needs of the system.
class SystemLockPlatform {
 public:
  virtual ~SystemLockPlatform() = default;
  virtual GinaLibrary& Gina() = 0;
  virtual Registry& SystemRegistry() = 0;
  virtual std::string ProgramPath() = 0;
  // A window that hands 1468 and 1469 to `handler` and ignores every other message.
  virtual std::unique_ptr<KeyMessageWindow> CreateKeyMessageWindow(KeyMessageHandler handler) = 0;
  virtual Point CursorPos() = 0;
  // Brings a form, or the window it last activated, to the foreground.
  virtual void BringToForeground(WindowHandle form) = 0;
  virtual StartButtonHost& StartButtons() = 0;
};

class TSystemLock;
using TStartButtonEvent = std::function<void(TSystemLock& sender, std::int32_t x, std::int32_t y)>;
using TdwKeyEvent =
    std::function<void(WindowHandle receivingWnd, std::uint16_t key, TShiftState shift)>;
using TdwMouseEvent = std::function<void(WindowHandle receivingWnd, TMouseButton button,
                                         TShiftState shift, std::int32_t x, std::int32_t y)>;

class TSystemLock : public ui::Component {
 public:
  TSystemLock(ui::Component* owner, std::string name, SystemLockPlatform& platform);
  // Lifts every block (RestoreAll) and stops the library's reports; never throws.
  ~TSystemLock() override;

  bool asFrontApp() const { return asFrontApp_; }
  void SetasFrontApp(bool value);

  bool Switch(LockSwitch s) const { return switches_[static_cast<std::size_t>(s)]; }
  void SetSwitch(LockSwitch s, bool value);

  // The properties by name; noCtrlAltDel reads back the library's answer: True only while the
  // combination is blocked.
  bool noCtrlAltDel() const { return Switch(LockSwitch::noCtrlAltDel); }
  void SetnoCtrlAltDel(bool v) { SetSwitch(LockSwitch::noCtrlAltDel, v); }
  bool noAltTab() const { return Switch(LockSwitch::noAltTab); }
  void SetnoAltTab(bool v) { SetSwitch(LockSwitch::noAltTab, v); }
  bool noAltEsc() const { return Switch(LockSwitch::noAltEsc); }
  void SetnoAltEsc(bool v) { SetSwitch(LockSwitch::noAltEsc, v); }
  bool noAltF4() const { return Switch(LockSwitch::noAltF4); }
  void SetnoAltF4(bool v) { SetSwitch(LockSwitch::noAltF4, v); }
  bool noCtrlEsc() const { return Switch(LockSwitch::noCtrlEsc); }
  void SetnoCtrlEsc(bool v) { SetSwitch(LockSwitch::noCtrlEsc, v); }
  bool noWinkeys() const { return Switch(LockSwitch::noWinkeys); }
  void SetnoWinkeys(bool v) { SetSwitch(LockSwitch::noWinkeys, v); }
  bool noAppkey() const { return Switch(LockSwitch::noAppkey); }
  void SetnoAppkey(bool v) { SetSwitch(LockSwitch::noAppkey, v); }
  bool noRButton() const { return Switch(LockSwitch::noRButton); }
  void SetnoRButton(bool v) { SetSwitch(LockSwitch::noRButton, v); }
  bool noTaskbar() const { return Switch(LockSwitch::noTaskbar); }
  void SetnoTaskbar(bool v) { SetSwitch(LockSwitch::noTaskbar, v); }
  bool noTaskLinks() const { return Switch(LockSwitch::noTaskLinks); }
  void SetnoTaskLinks(bool v) { SetSwitch(LockSwitch::noTaskLinks, v); }
  bool noTaskTray() const { return Switch(LockSwitch::noTaskTray); }
  void SetnoTaskTray(bool v) { SetSwitch(LockSwitch::noTaskTray, v); }
  bool noStartbutton() const { return Switch(LockSwitch::noStartbutton); }
  void SetnoStartbutton(bool v) { SetSwitch(LockSwitch::noStartbutton, v); }
  bool noAltReturn() const { return Switch(LockSwitch::noAltReturn); }
  void SetnoAltReturn(bool v) { SetSwitch(LockSwitch::noAltReturn, v); }
  bool noAccessibilityShortcuts() const { return Switch(LockSwitch::noAccessibilityShortcuts); }
  void SetnoAccessibilityShortcuts(bool v) { SetSwitch(LockSwitch::noAccessibilityShortcuts, v); }
  bool noDesktop() const { return Switch(LockSwitch::noDesktop); }
  void SetnoDesktop(bool v) { SetSwitch(LockSwitch::noDesktop, v); }

  // The replacement start button.
  bool ReplaceStartmenu() const { return replaceStartmenu_; }
  void SetReplaceStartmenu(bool value);
  CopyableButton* Startbutton() const { return startbutton_; }
  void SetStartbutton(CopyableButton* button) { startbutton_ = button; }
  PopupMenuRef* StartMenu() const { return startMenu_; }
  void SetStartMenu(PopupMenuRef* menu) { startMenu_ = menu; }
  TStartButtonEvent OnStartButton;  // a plain field: assigning it does nothing more
  // The replacement's panel window; 0 when there is none.
  WindowHandle StartPanelHandle() const;

  // The library interface version this component speaks; an assigned value is ignored.
  static std::string Version() { return "2.12"; }
  void SetVersion(const std::string&) {}

  // Key and mouse reports; each assignment (an empty one too) tells the library what to post.
  const TdwKeyEvent& OnKeyDown() const { return onKeyDown_; }
  void SetOnKeyDown(TdwKeyEvent handler);
  const TdwKeyEvent& OnKeyUp() const { return onKeyUp_; }
  void SetOnKeyUp(TdwKeyEvent handler);
  const TdwMouseEvent& OnMouseDown() const { return onMouseDown_; }
  void SetOnMouseDown(TdwMouseEvent handler);
  const TdwMouseEvent& OnMouseUp() const { return onMouseUp_; }
  void SetOnMouseUp(TdwMouseEvent handler);
  // The key message window; 0 until a report handler has been assigned.
  WindowHandle KeyMessageWindowHandle() const;

  // Removes the replacement start button, then lifts every block through the library. The
  // switches keep their values.
  void RestoreAll();
  bool InstallGina();
  bool IsGinaInstalled();

  // The replacement's click: places and opens StartMenu next to the real start button.
  void StartButtonClick();
  // 1468 and 1469 as the key message window receives them.
  void HandleKeyMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

 protected:
  // Applies a stored ReplaceStartmenu once all stored values are in.
  void Loaded() override;
  // Forgets Startbutton or StartMenu when that component goes away.
  void Notification(ui::Component& component, ui::Operation operation) override;

 private:
  void UpdateKeyMessages();
  std::unique_ptr<StartPanel> CreateStartPanel();
  FormWindow* OwnerForm() const;

  SystemLockPlatform& platform_;
  bool asFrontApp_ = false;
  std::array<bool, kLockSwitchCount> switches_{};
  bool replaceStartmenu_ = false;
  CopyableButton* startbutton_ = nullptr;
  PopupMenuRef* startMenu_ = nullptr;
  std::unique_ptr<StartPanel> startPanel_;
  TdwKeyEvent onKeyDown_;
  TdwKeyEvent onKeyUp_;
  TdwMouseEvent onMouseDown_;
  TdwMouseEvent onMouseUp_;
  std::unique_ptr<KeyMessageWindow> keyWindow_;
};

}  // namespace sentavo::lockengine
