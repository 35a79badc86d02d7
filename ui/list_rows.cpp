#include "ui/list_rows.h"

namespace sentavo::ui {

void RowHistory::Note(RowChange change) {
  ++revision_;
  last_ = change;
}

RowChange RowHistory::Since(std::uint64_t shown, std::size_t count) const {
  if (shown == revision_) return {};
  // Only the last change is known: a control further behind, or one that showed another list
  // (a revision ahead of this one), cannot be brought up to date row by row.
  if (shown + 1 == revision_ && last_.kind != RowChange::Kind::Refill) return last_;
  return {RowChange::Kind::Refill, 0, count};
}

std::optional<std::size_t> FindRow(std::size_t count, std::optional<std::size_t> after,
                                   const std::function<bool(std::size_t)>& matches) {
  if (count == 0) return std::nullopt;
  // A start beyond the list searches the whole list, as from the top.
  const std::size_t first = after && *after < count ? *after + 1 : 0;
  for (std::size_t step = 0; step < count; ++step) {
    const std::size_t row = (first + step) % count;
    if (matches(row)) return row;
  }
  return std::nullopt;
}

}  // namespace sentavo::ui
