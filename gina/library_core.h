// The state of lockgina.dll that its callers change and its hooks read, and the one rule between
// them: the hook thread never waits for the callers. A caller changes the state under a mutex and
// may hold it for a while (the restore journal is written to disk, with a flush, while it is
// held); every change then publishes the blocking rules as one immutable snapshot, which the hooks
// read with a single atomic load. Windows silently drops a low-level hook that misses its time-out,
// so a hook that waited for a slow disk would let keys through.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "gina/key_filter.h"
#include "gina/lock_state.h"

namespace sentavo::gina {

// Where the reports of keys and buttons go: a window handle and two message numbers.
struct ReportTarget {
  std::uint64_t window = 0;
  std::uint32_t press = 0;
  std::uint32_t release = 0;
  bool send = false;
  bool operator==(const ReportTarget&) const = default;
};

// What the hooks decide with, as one value that never changes once published.
struct HookRules {
  KeyRules keys;
  ReportTarget reports;
};

struct InputDecision {
  bool swallow = false;
  std::uint32_t mask = 0;  // the modifiers held, as the filter has seen them
  ReportTarget reports;
};

// The modifier keys the system holds down now (GetAsyncKeyState), asked on the hook thread only.
using HeldModifiers = std::function<std::vector<std::uint32_t>()>;

class LibraryCore {
 public:
  // Without `heldModifiers` the filter trusts what it has seen alone.
  LibraryCore(ShellDesktop& desktop, JournalStore& store, HeldModifiers heldModifiers = {});

  // The callers' side: each takes the mutex and publishes the rules afterwards.
  int DisableItem(int item, bool disable);
  bool IsItemDisabled(int item);
  int DisableKey(KeyCombo combo, bool block);
  bool IsKeyDisabled(KeyCombo combo);
  std::int32_t DisabledKey(int index);
  void SetReports(const ReportTarget& reports);
  void RestoreAll();
  // Restores everything and forgets the report target: the program is done with the library.
  void Exit();
  // Whether anything needs the hooks: a blocked key, a hidden shell part or a report target.
  bool NeedsHooks();
  // Whether the hook thread's watchdog runs; while it does, a switch asked for the state it is in
  // touches nothing (see LockState).
  void SetWatched(bool watched);
  // The machine policies were installed or removed through the library.
  void PoliciesChanged();

  // The hook thread's side. None of these waits for the mutex. The releases of keys let go on
  // another desktop (Ctrl+Alt+Del, a UAC prompt, the sign-in screen) never reach the hooks, so the
  // modifiers the filter believes held are taken from the system again before every press that is
  // not a modifier's, at every watchdog round and at every change of session or desktop; else a
  // stale Ctrl or Alt would swallow Enter, Tab and Esc, and a stale Windows key every key.
  InputDecision OnInput(std::uint32_t vk, bool up);
  // The modifiers held when the hooks start, as the system reports them.
  void OnHooksStarted(const std::vector<std::uint32_t>& heldKeys);
  // The watchdog's round: hides again what came back, unless a caller holds the state just now
  // (the next round will); false when it skipped. The modifiers are taken anew either way.
  bool OnWatch();
  // The session or the input desktop changed.
  void OnDesktopChange();

 private:
  void Publish();          // with the mutex held
  void RereadModifiers();  // on the hook thread

  std::mutex mutex_;
  LockState state_;
  ReportTarget reports_;
  std::atomic<std::shared_ptr<const HookRules>> rules_;
  const HeldModifiers heldModifiers_;
  KeyFilter filter_;  // the hook thread's alone: which modifiers are held, which releases are due
};

}  // namespace sentavo::gina
