#include "gina/library_core.h"

#include <utility>

namespace sentavo::gina {

LibraryCore::LibraryCore(ShellDesktop& desktop, JournalStore& store, HeldModifiers heldModifiers)
    : state_(desktop, store),
      rules_(std::make_shared<const HookRules>()),
      heldModifiers_(std::move(heldModifiers)) {}

void LibraryCore::Publish() {
  rules_.store(std::make_shared<const HookRules>(HookRules{state_.Keys(), reports_}));
}

int LibraryCore::DisableItem(int item, bool disable) {
  const std::lock_guard lock(mutex_);
  const int result = state_.DisableItem(item, disable);
  Publish();
  return result;
}

bool LibraryCore::IsItemDisabled(int item) {
  const std::lock_guard lock(mutex_);
  return state_.IsItemDisabled(item);
}

int LibraryCore::DisableKey(KeyCombo combo, bool block) {
  const std::lock_guard lock(mutex_);
  const bool changes = state_.Keys().IsBlocked(combo) != block;
  const int result = state_.DisableKey(combo, block);
  if (changes) Publish();
  return result;
}

bool LibraryCore::IsKeyDisabled(KeyCombo combo) {
  const std::lock_guard lock(mutex_);
  return state_.IsKeyDisabled(combo);
}

std::int32_t LibraryCore::DisabledKey(int index) {
  const std::lock_guard lock(mutex_);
  return state_.DisabledKey(index);
}

void LibraryCore::SetReports(const ReportTarget& reports) {
  const std::lock_guard lock(mutex_);
  reports_ = reports;
  Publish();
}

void LibraryCore::RestoreAll() {
  const std::lock_guard lock(mutex_);
  state_.RestoreAll();
  Publish();
}

void LibraryCore::Exit() {
  const std::lock_guard lock(mutex_);
  state_.RestoreAll();
  reports_ = {};
  Publish();
}

bool LibraryCore::NeedsHooks() {
  const std::lock_guard lock(mutex_);
  return !state_.Keys().Empty() || reports_.window != 0 || state_.HasDisabledItems();
}

void LibraryCore::SetWatched(bool watched) {
  const std::lock_guard lock(mutex_);
  state_.SetWatched(watched);
}

void LibraryCore::PoliciesChanged() {
  const std::lock_guard lock(mutex_);
  state_.PoliciesChanged();
}

void LibraryCore::RereadModifiers() {
  if (heldModifiers_) filter_.SetHeld(heldModifiers_());
}

InputDecision LibraryCore::OnInput(std::uint32_t vk, bool up) {
  const std::shared_ptr<const HookRules> rules = rules_.load();
  if (!up && ModifierBit(vk) == 0) RereadModifiers();
  const bool swallow = filter_.OnEvent(rules->keys, vk, up);
  return {swallow, filter_.Mask(), rules->reports};
}

void LibraryCore::OnHooksStarted(const std::vector<std::uint32_t>& heldKeys) {
  filter_.SetHeld(heldKeys);
}

bool LibraryCore::OnWatch() {
  RereadModifiers();
  const std::unique_lock lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock()) return false;
  state_.Reassert();
  return true;
}

void LibraryCore::OnDesktopChange() {
  RereadModifiers();
}

}  // namespace sentavo::gina
