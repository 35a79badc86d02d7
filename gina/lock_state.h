// What lockgina.dll has blocked and what it must undo. Every change to the system is written to a
// journal on disk before it is made, so that wlRestoreAll can undo it even when the program that
// made it has crashed: windows it hid and the accessibility settings it changed, with their
// original values (saved once; a second save would only save our own changes). The file is the
// only copy: each change reads it, amends it and replaces it, so a run also sees what a crashed
// run left behind after it started.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gina/key_filter.h"

namespace sentavo::gina {

// Shell parts by item number. 6 is not used.
enum ShellItem : int {
  kTaskbar = 1,
  kDesktop = 2,
  kStartButton = 3,
  kTaskLinks = 4,
  kTray = 5,
  kAccessibility = 7,
};

// The accessibility features whose keyboard shortcuts are switched off. Each keeps its shortcut
// in bit 0x4 of its flags (SKF_, FKF_, TKF_, HCF_, MKF_HOTKEYACTIVE), and whether it is on in bit
// 0x1 (SKF_STICKYKEYSON, FKF_FILTERKEYSON, TKF_TOGGLEKEYSON, HCF_HIGHCONTRASTON, MKF_MOUSEKEYSON).
enum class Access { StickyKeys, FilterKeys, ToggleKeys, HighContrast, MouseKeys };
inline constexpr Access kAllAccess[] = {Access::StickyKeys, Access::FilterKeys, Access::ToggleKeys,
                                        Access::HighContrast, Access::MouseKeys};
inline constexpr std::uint32_t kHotKeyActive = 0x4;
inline constexpr std::uint32_t kFeatureOn = 0x1;

// The flag bits item 7 clears. The Ctrl+Alt+Del screen's accessibility menu switches the features
// on without their shortcuts, and Sticky Keys or Mouse Keys turn keys and clicks into combinations
// and pointer moves that the hooks never see as such; so these four are switched off themselves.
// High contrast only changes the colours and is left on for a guest who needs it.
constexpr std::uint32_t ClearedBits(Access kind) {
  return kind == Access::HighContrast ? kHotKeyActive : kHotKeyActive | kFeatureOn;
}

// Ctrl+Alt+Del: no program can block it; the machine policies can only empty its screen.
inline constexpr KeyCombo kCtrlAltDel{46, kAlt | kCtrl};

class ShellDesktop {
 public:
  struct Window {
    std::uint64_t handle = 0;
    std::string className;
    bool shown = false;
  };
  virtual ~ShellDesktop() = default;
  // The windows that make up a shell part now (found anew each time).
  virtual std::vector<Window> ItemWindows(int item) = 0;
  virtual void Hide(std::uint64_t handle) = 0;
  // Shows the window again when it still exists and is still of that class.
  virtual void ShowIfStill(std::uint64_t handle, const std::string& className) = 0;
  virtual std::optional<std::uint32_t> ReadAccess(Access kind) = 0;
  virtual bool WriteAccess(Access kind, std::uint32_t flags) = 0;
  // The machine policies that empty the Ctrl+Alt+Del screen.
  virtual bool PoliciesInForce() = 0;
  virtual bool InstallPolicies() = 0;
  virtual bool RemovePolicies() = 0;
};

// The journal file: read whole, replaced whole.
class JournalStore {
 public:
  virtual ~JournalStore() = default;
  virtual std::string Read() const = 0;  // empty when there is none
  virtual bool Write(const std::string& text) = 0;
  virtual void Remove() = 0;
};

// The saved values, and their text form ("access 1 126", "window 1 0x20034 Shell_TrayWnd").
struct RestoreJournal {
  struct HiddenWindow {
    int item = 0;
    std::uint64_t handle = 0;
    std::string className;
    bool operator==(const HiddenWindow&) const = default;
  };
  std::map<Access, std::uint32_t> access;  // original flags
  std::vector<HiddenWindow> windows;

  bool Empty() const { return access.empty() && windows.empty(); }
  std::string Format() const;
  // Lines it does not understand are skipped: a damaged journal still undoes what it can.
  static RestoreJournal Parse(const std::string& text);
};

// The callers assert the whole lock again every second. A switch asked for the state it is already
// in costs nothing (no look at the system): a disabled item only while a watchdog keeps it, whose
// round finds a shell part shown again or a feature switched on again, puts it back and marks the
// item, so that the next call for it does the whole work again; without a watchdog every call
// does it. An enabled item has shown what it hid at its first call and has nothing left to show.
class LockState {
 public:
  LockState(ShellDesktop& desktop, JournalStore& store);

  // 1 when done, 0 for an unknown item.
  int DisableItem(int item, bool disable);
  bool IsItemDisabled(int item) const { return items_.contains(item); }
  // Non-zero when the combination is blocked now. Ctrl+Alt+Del counts as blocked only while the
  // machine policies are in force.
  int DisableKey(KeyCombo combo, bool block);
  bool IsKeyDisabled(KeyCombo combo);
  // The index-th blocked combination packed as mask << 16 | key; -1 past the end.
  std::int32_t DisabledKey(int index) const;
  const KeyRules& Keys() const { return keys_; }

  // Whether a watchdog runs Reassert every few seconds (and on every new taskbar).
  void SetWatched(bool watched) { watched_ = watched; }
  // Hides again what a disabled item covers and has come back (an Explorer restart), and switches
  // off again an accessibility feature switched on meanwhile (from the Ctrl+Alt+Del screen). Takes
  // the machine policies anew while Ctrl+Alt+Del is blocked.
  void Reassert();
  // The machine policies were installed or removed: Ctrl+Alt+Del's answer is taken anew.
  void PoliciesChanged() { policies_.reset(); }
  // Lifts every block and undoes everything in the journal, this run's and a crashed run's.
  void RestoreAll();
  bool HasDisabledItems() const { return !items_.empty(); }
  RestoreJournal Journal() const { return RestoreJournal::Parse(store_.Read()); }

 private:
  // Each returns whether it found something to put back: a shell window shown, a feature on.
  bool HideItem(int item);
  void ShowItem(int item);
  bool SwitchOffShortcuts();
  void RestoreShortcuts();
  void Save(const RestoreJournal& journal);
  bool PoliciesInForce();

  ShellDesktop& desktop_;
  JournalStore& store_;
  std::set<int> items_;
  KeyRules keys_;
  bool watched_ = false;
  // The items whose last call did the whole work, and nothing has been found undone since: disabled
  // ones in force, enabled ones with nothing of theirs left hidden.
  std::set<int> settled_;
  // The machine policies as last read while Ctrl+Alt+Del is blocked; empty when unknown.
  std::optional<bool> policies_;
};

}  // namespace sentavo::gina
