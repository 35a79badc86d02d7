// The rows of a list control that holds no items of its own: it knows only how many rows there
// are and asks its model for a row when it draws it. What such a control must do to follow the
// model's list, and how it finds a row by its text, are decided here, without Win32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace sentavo::ui {

// What a list control must do to show the list as it is now.
struct RowChange {
  enum class Kind { None, Insert, Remove, Refill };
  Kind kind = Kind::None;
  std::size_t index = 0;  // Insert, Remove: the row
  std::size_t count = 0;  // Refill: the rows in all

  friend bool operator==(const RowChange&, const RowChange&) = default;
};

// A list's changes, counted, and the last of them. A control that showed the list one change ago
// follows it by one row, keeping its scroll position and selection; any other control is refilled.
class RowHistory {
 public:
  std::uint64_t revision() const { return revision_; }

  void Inserted(std::size_t index) { Note({RowChange::Kind::Insert, index, 0}); }
  void Removed(std::size_t index) { Note({RowChange::Kind::Remove, index, 0}); }
  // The whole list is another one now.
  void Replaced() { Note({RowChange::Kind::Refill, 0, 0}); }

  // What a control that shows revision `shown` must do now that the list holds `count` rows.
  RowChange Since(std::uint64_t shown, std::size_t count) const;

 private:
  void Note(RowChange change);

  std::uint64_t revision_ = 0;
  RowChange last_;
};

// The row that a list box's search finds among `count` rows: the first one after `after` that
// `matches`, going round to the top and ending at `after` itself; no `after` searches from the
// top. As a list box searches for LB_FINDSTRING, LB_FINDSTRINGEXACT and a typed character.
std::optional<std::size_t> FindRow(std::size_t count, std::optional<std::size_t> after,
                                   const std::function<bool(std::size_t)>& matches);

}  // namespace sentavo::ui
