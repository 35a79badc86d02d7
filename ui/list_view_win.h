// A report-style list view (LVS_REPORT): fixed columns, single selection, rows of texts that the
// window replaces whole after each refresh. Cells are only written where their text changed and
// rows are only added or removed at the end, so that a refresh keeps the scroll position and the
// focus, and the control never flickers back to the top.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/color.h"
#include "ui/controls_win.h"

namespace sentavo::ui {

class ReportListView : public Control {
 public:
  using Control::Control;
  struct Column {
    std::string caption;
    int width = 80;
  };
  using Row = std::vector<std::string>;  // one text a column, UTF-8

  bool Create(HWND parent, int id, const Bounds& bounds, const std::vector<Column>& columns);
  // The control's background and text; each row's text may take another colour.
  void SetColors(TColor background, TColor text);
  void SetRowColor(std::function<std::optional<TColor>(int row)> color) {
    rowColor_ = std::move(color);
  }

  void SetRows(const std::vector<Row>& rows);
  int Count() const;
  int ItemIndex() const;  // -1: none
  // Selects and focuses `index` (-1: none) without raising OnSelect; a selected row is scrolled
  // into view only when it was not selected before.
  void SetItemIndex(int index);

  std::function<void()> OnSelect;  // the user selected another row, or none
  // A right click or the menu key: the point on the screen where a menu belongs.
  std::function<void(POINT screen)> OnContextMenu;

 protected:
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void SetCell(int row, int column, const std::string& text);

  std::size_t columns_ = 0;
  std::vector<Row> shown_;  // what the control holds, cell by cell
  std::function<std::optional<TColor>(int row)> rowColor_;
  TColor text_ = clWindowText;
};

}  // namespace sentavo::ui
