// A set of enumerators, as the forms' option sets (TSelectDirOpts, TOpenOptions) are.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace sentavo::ui {

template <class E>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<E> items) {
    for (E e : items) Include(e);
  }
  constexpr bool Has(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr void Include(E e) { bits_ |= Bit(e); }
  constexpr void Exclude(E e) { bits_ &= ~Bit(e); }
  constexpr void Set(E e, bool on) { on ? Include(e) : Exclude(e); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const EnumSet&) const = default;

 private:
  static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
  std::uint64_t bits_ = 0;
};

}  // namespace sentavo::ui
