// The keyboard and mouse filter behind lockgina.dll's low-level hooks. It keeps its own idea of
// which modifiers are held (the system's is not up to date inside a low-level hook), decides which
// presses to swallow, and swallows the release of every press it swallowed, so that no program
// ever sees half a key stroke.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace sentavo::gina {

// Modifier mask bits as the library's callers use them.
inline constexpr std::uint32_t kAlt = 1;
inline constexpr std::uint32_t kCtrl = 2;
inline constexpr std::uint32_t kShift = 4;
inline constexpr std::uint32_t kWin = 8;

// A blocked combination: a virtual-key code (1, 2, 4, 5, 6 are mouse buttons) with the modifiers
// that must be held. Key 0 stands for every key, the modifiers' own keys included.
struct KeyCombo {
  std::uint32_t key = 0;
  std::uint32_t mask = 0;
  bool operator==(const KeyCombo&) const = default;
  auto operator<=>(const KeyCombo&) const = default;
};

// The modifier bit a virtual-key code belongs to; 0 for other keys.
std::uint32_t ModifierBit(std::uint32_t vk);

// The blocked combinations: a plain value, so that the hooks can be handed a copy of it.
class KeyRules {
 public:
  void SetBlocked(KeyCombo combo, bool blocked);
  bool IsBlocked(KeyCombo combo) const { return blocked_.contains(combo); }
  bool Empty() const { return blocked_.empty(); }
  // The blocked combinations in a stable order.
  std::vector<KeyCombo> Blocked() const { return {blocked_.begin(), blocked_.end()}; }
  void Clear() { blocked_.clear(); }
  // Whether pressing `vk` while the modifiers `mask` are held makes a blocked combination.
  bool Matches(std::uint32_t vk, std::uint32_t mask) const;

 private:
  std::set<KeyCombo> blocked_;
};

// What the hooks have seen: the modifiers held and the presses whose releases are due.
class KeyFilter {
 public:
  // The modifiers held now, as the filter has seen them.
  std::uint32_t Mask() const;
  // Takes the held keys from the system when the hooks start (keys pressed before are unseen).
  void SetHeld(const std::vector<std::uint32_t>& heldKeys);

  // One press or release seen by a hook, judged by `rules`; true when it must not reach anyone.
  bool OnEvent(const KeyRules& rules, std::uint32_t vk, bool up);

 private:
  std::set<std::uint32_t> held_;       // modifier keys down
  std::set<std::uint32_t> swallowed_;  // keys whose press was swallowed and whose release is due
};

}  // namespace sentavo::gina
