#include "gina/lock_state.h"

#include <algorithm>
#include <sstream>

namespace sentavo::gina {

std::string RestoreJournal::Format() const {
  std::ostringstream out;
  for (const auto& [kind, flags] : access)
    out << "access " << static_cast<int>(kind) << ' ' << flags << '\n';
  for (const HiddenWindow& w : windows)
    out << "window " << w.item << " 0x" << std::hex << w.handle << std::dec << ' ' << w.className
        << '\n';
  return out.str();
}

RestoreJournal RestoreJournal::Parse(const std::string& text) {
  RestoreJournal journal;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    if (tag == "access") {
      int kind = -1;
      std::uint32_t flags = 0;
      if (in >> kind >> flags && kind >= 0 && kind <= static_cast<int>(Access::MouseKeys))
        journal.access.emplace(static_cast<Access>(kind), flags);
    } else if (tag == "window") {
      HiddenWindow w;
      if (in >> w.item >> std::hex >> w.handle >> std::dec >> w.className && w.handle != 0)
        journal.windows.push_back(w);
    }
  }
  return journal;
}

LockState::LockState(ShellDesktop& desktop, JournalStore& store)
    : desktop_(desktop), store_(store) {}

void LockState::Save(const RestoreJournal& journal) {
  if (journal.Empty()) {
    store_.Remove();
  } else {
    store_.Write(journal.Format());
  }
}

int LockState::DisableItem(int item, bool disable) {
  const bool known = item == kTaskbar || item == kDesktop || item == kStartButton ||
                     item == kTaskLinks || item == kTray || item == kAccessibility;
  if (!known) return 0;
  if (settled_.contains(item) && items_.contains(item) == disable && (watched_ || !disable))
    return 1;
  if (disable) {
    items_.insert(item);
    if (item == kAccessibility) {
      SwitchOffShortcuts();
    } else {
      HideItem(item);
    }
  } else {
    items_.erase(item);
    if (item == kAccessibility) {
      RestoreShortcuts();
    } else {
      ShowItem(item);
    }
  }
  settled_.insert(item);
  return 1;
}

// Each window is journaled before it is hidden, and only a window that is shown: restoring must
// never show what was hidden before we came.
bool LockState::HideItem(int item) {
  bool found = false;
  for (const ShellDesktop::Window& w : desktop_.ItemWindows(item)) {
    if (!w.shown) continue;
    found = true;
    RestoreJournal journal = Journal();
    const bool known = std::any_of(journal.windows.begin(), journal.windows.end(),
                                   [&](const auto& j) { return j.handle == w.handle; });
    if (!known) {
      journal.windows.push_back({item, w.handle, w.className});
      Save(journal);
    }
    desktop_.Hide(w.handle);
  }
  return found;
}

void LockState::ShowItem(int item) {
  RestoreJournal journal = Journal();
  auto& windows = journal.windows;
  const auto mine = std::stable_partition(windows.begin(), windows.end(),
                                          [&](const auto& w) { return w.item != item; });
  for (auto it = mine; it != windows.end(); ++it) desktop_.ShowIfStill(it->handle, it->className);
  windows.erase(mine, windows.end());
  Save(journal);
}

bool LockState::SwitchOffShortcuts() {
  bool found = false;
  for (const Access kind : kAllAccess) {
    const std::optional<std::uint32_t> flags = desktop_.ReadAccess(kind);
    if (!flags) continue;
    RestoreJournal journal = Journal();
    if (journal.access.emplace(kind, *flags).second) Save(journal);
    if (*flags & ClearedBits(kind)) {
      found = true;
      desktop_.WriteAccess(kind, *flags & ~ClearedBits(kind));
    }
  }
  return found;
}

void LockState::RestoreShortcuts() {
  RestoreJournal journal = Journal();
  for (const auto& [kind, flags] : journal.access) desktop_.WriteAccess(kind, flags);
  journal.access.clear();
  Save(journal);
}

bool LockState::PoliciesInForce() {
  policies_ = desktop_.PoliciesInForce();
  return *policies_;
}

// Ctrl+Alt+Del asked to stay blocked answers from the policies as last read: the watchdog takes
// them anew every round, and so does a call that blocks it afresh.
int LockState::DisableKey(KeyCombo combo, bool block) {
  const bool already = keys_.IsBlocked(combo) == block;
  keys_.SetBlocked(combo, block);
  if (!block) return 0;
  if (combo != kCtrlAltDel) return 1;
  if (already && watched_ && policies_) return *policies_ ? 1 : 0;
  return PoliciesInForce() ? 1 : 0;
}

bool LockState::IsKeyDisabled(KeyCombo combo) {
  if (!keys_.IsBlocked(combo)) return false;
  return combo != kCtrlAltDel || PoliciesInForce();
}

std::int32_t LockState::DisabledKey(int index) const {
  const std::vector<KeyCombo> blocked = keys_.Blocked();
  if (index < 0 || static_cast<std::size_t>(index) >= blocked.size()) return -1;
  const KeyCombo c = blocked[static_cast<std::size_t>(index)];
  return static_cast<std::int32_t>((c.mask << 16) | (c.key & 0xFFFF));
}

void LockState::Reassert() {
  for (const int item : items_) {
    const bool undone = item == kAccessibility ? SwitchOffShortcuts() : HideItem(item);
    if (undone) settled_.erase(item);
  }
  if (keys_.IsBlocked(kCtrlAltDel)) PoliciesInForce();
}

void LockState::RestoreAll() {
  keys_.Clear();
  items_.clear();
  settled_.clear();
  policies_.reset();
  const RestoreJournal journal = Journal();
  for (const auto& w : journal.windows) desktop_.ShowIfStill(w.handle, w.className);
  for (const auto& [kind, flags] : journal.access) desktop_.WriteAccess(kind, flags);
  store_.Remove();
}

}  // namespace sentavo::gina
