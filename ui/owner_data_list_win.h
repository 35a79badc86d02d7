// A list box that holds no items (LBS_NODATA | LBS_OWNERDRAWFIXED): it knows how many rows there
// are and asks for a row's text only when it draws that row, so a list of 100 000 names costs the
// control nothing per row and fills at once.
//
// To the operator it is the plain ListBox: the same font, colours, row height, highlight and focus
// rectangle, the same keys and clicks, and a typed character still goes to the next row that starts
// with it. To a program it answers the list box's text messages (LB_GETTEXTLEN, LB_GETTEXT,
// LB_FINDSTRING, LB_FINDSTRINGEXACT, LB_SELECTSTRING) from its rows, as a plain list box would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/controls_win.h"
#include "ui/list_rows.h"

namespace sentavo::ui {

class OwnerDataListBox : public Control {
 public:
  using Control::Control;
  // A row's text, UTF-8. Asked only for rows below Count().
  using RowText = std::function<std::string_view(std::size_t row)>;

  bool Create(HWND parent, int id, const Bounds& bounds, RowText rows);
  // Brings the rows up to the list that `history` describes, now `count` rows long: one row
  // inserted or removed when the control is one change behind (the scroll position and the
  // selection stay), a refill otherwise.
  void Follow(const RowHistory& history, std::size_t count);

  int Count() const;
  std::string Item(int index) const;
  int ItemIndex() const;  // -1: none
  void SetItemIndex(int index);

  std::function<void()> OnSelect;
  std::function<void()> OnDblClick;

 protected:
  void OnCommand(WORD code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void Refill(std::size_t count);
  void DrawRow(const DRAWITEMSTRUCT& item) const;
  std::wstring RowW(std::size_t row) const;
  // The row that a list box's search from after `start` finds: its text begins with `text`, or
  // (exact) is `text`, ignoring case.
  std::optional<std::size_t> Find(WPARAM start, const wchar_t* text, bool exact) const;
  void TypeAhead(wchar_t ch);
  void MatchRowHeightToFont();

  RowText rows_;
  std::uint64_t shown_ = 0;  // the revision of the list that the rows show
};

}  // namespace sentavo::ui
