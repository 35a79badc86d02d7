#include "gina/key_filter.h"

namespace sentavo::gina {

std::uint32_t ModifierBit(std::uint32_t vk) {
  switch (vk) {
    case 0x12:
    case 0xA4:
    case 0xA5: return kAlt;  // VK_MENU, VK_LMENU, VK_RMENU
    case 0x11:
    case 0xA2:
    case 0xA3: return kCtrl;  // VK_CONTROL, VK_LCONTROL, VK_RCONTROL
    case 0x10:
    case 0xA0:
    case 0xA1: return kShift;  // VK_SHIFT, VK_LSHIFT, VK_RSHIFT
    case 0x5B:
    case 0x5C: return kWin;  // VK_LWIN, VK_RWIN
    default: return 0;
  }
}

void KeyRules::SetBlocked(KeyCombo combo, bool blocked) {
  if (blocked) {
    blocked_.insert(combo);
  } else {
    blocked_.erase(combo);
  }
}

std::uint32_t KeyFilter::Mask() const {
  std::uint32_t mask = 0;
  for (const std::uint32_t vk : held_) mask |= ModifierBit(vk);
  return mask;
}

void KeyFilter::SetHeld(const std::vector<std::uint32_t>& heldKeys) {
  held_.clear();
  for (const std::uint32_t vk : heldKeys)
    if (ModifierBit(vk)) held_.insert(vk);
}

bool KeyRules::Matches(std::uint32_t vk, std::uint32_t mask) const {
  for (const KeyCombo& c : blocked_) {
    if ((c.key == vk || c.key == 0) && (mask & c.mask) == c.mask) return true;
  }
  return false;
}

bool KeyFilter::OnEvent(const KeyRules& rules, std::uint32_t vk, bool up) {
  const bool modifier = ModifierBit(vk) != 0;
  if (up) {
    if (modifier) held_.erase(vk);
    // A release is swallowed exactly when its press was, whatever is held by now.
    return swallowed_.erase(vk) == 1;
  }
  if (modifier) held_.insert(vk);
  if (!rules.Matches(vk, Mask())) return false;
  swallowed_.insert(vk);
  return true;
}

}  // namespace sentavo::gina
