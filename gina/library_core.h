// The state of lockgina.dll that its callers change and its hooks read, and the one rule between
// them: the hook thread never waits for the callers. A caller changes the state under a mutex and
// may hold it for a while (the restore journal is written to disk, with a flush, while it is
// held); every change then publishes the blocking rules as one immutable snapshot, which the hooks
// read with a single atomic load. Windows silently drops a low-level hook that misses its time-out,
// so a hook that waited for a slow disk would let keys through.
#pragma once

#include <atomic>
#include <cstdint>
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

class LibraryCore {
 public:
  LibraryCore(ShellDesktop& desktop, JournalStore& store);

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

  // The hook thread's side. None of these waits for the mutex.
  InputDecision OnInput(std::uint32_t vk, bool up);
  // The modifiers held when the hooks start, as the system reports them.
  void OnHooksStarted(const std::vector<std::uint32_t>& heldKeys);
  // The watchdog's round: hides again what came back, unless a caller holds the state just now
  // (the next round will); false when it skipped.
  bool OnWatch();

 private:
  void Publish();  // with the mutex held

  std::mutex mutex_;
  LockState state_;
  ReportTarget reports_;
  std::atomic<std::shared_ptr<const HookRules>> rules_;
  KeyFilter filter_;  // the hook thread's alone: which modifiers are held, which releases are due
};

}  // namespace sentavo::gina
