#include "ui/list_view_win.h"

#include <commctrl.h>

#include "formats/wide_win.h"
#include "ui/gdi_canvas_win.h"

namespace sentavo::ui {

bool ReportListView::Create(HWND parent, int id, const Bounds& bounds,
                            const std::vector<Column>& columns) {
  if (!CreateSystem(parent, WC_LISTVIEWW, id, bounds,
                    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                    WS_EX_CLIENTEDGE)) {
    return false;
  }
  SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  columns_ = columns.size();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::wstring caption = Widen(columns[i].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = columns[i].width;
    column.iSubItem = static_cast<int>(i);
    SendMessageW(hwnd(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  return true;
}

void ReportListView::SetColors(TColor background, TColor text) {
  text_ = text;
  SendMessageW(hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ToColorRef(background)));
  SendMessageW(hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ToColorRef(background)));
  SendMessageW(hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ToColorRef(text)));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ReportListView::SetCell(int row, int column, const std::string& text) {
  std::wstring wide = Widen(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(hwnd(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ReportListView::SetRows(const std::vector<Row>& rows) {
  // Rows the control lost (no memory) are made again rather than shown wrong.
  if (static_cast<std::size_t>(Count()) != shown_.size()) {
    SendMessageW(hwnd(), LVM_DELETEALLITEMS, 0, 0);
    shown_.clear();
  }
  const auto cell = [](const Row& r, std::size_t c) -> const std::string& {
    static const std::string empty;
    return c < r.size() ? r[c] : empty;
  };
  for (std::size_t i = 0; i < rows.size() && i < shown_.size(); ++i) {
    for (std::size_t c = 0; c < columns_; ++c) {
      if (cell(rows[i], c) != cell(shown_[i], c)) {
        SetCell(static_cast<int>(i), static_cast<int>(c), cell(rows[i], c));
      }
    }
    shown_[i] = rows[i];
  }
  while (shown_.size() > rows.size()) {
    shown_.pop_back();
    SendMessageW(hwnd(), LVM_DELETEITEM, shown_.size(), 0);
  }
  while (shown_.size() < rows.size()) {
    const Row& row = rows[shown_.size()];
    std::wstring first = Widen(cell(row, 0));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(shown_.size());
    item.pszText = first.data();
    const auto at = SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (at < 0) break;
    for (std::size_t c = 1; c < columns_; ++c) {
      SetCell(static_cast<int>(at), static_cast<int>(c), cell(row, c));
    }
    shown_.push_back(row);
  }
  // A colour depends on the row's texts, which may have changed without a repaint of that row.
  if (rowColor_) InvalidateRect(hwnd(), nullptr, FALSE);
}

int ReportListView::Count() const {
  return static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0));
}

int ReportListView::ItemIndex() const {
  return static_cast<int>(
      SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ReportListView::SetItemIndex(int index) {
  if (ItemIndex() == index) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  // -1 as the item takes the state from every row.
  SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (index < 0 || index >= Count()) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&state));
  SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

bool ReportListView::OnNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) &&
          ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) && OnSelect) {
        OnSelect();
      }
      result = 0;
      return true;
    }
    case NM_CUSTOMDRAW: {
      auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
      if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = rowColor_ ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        return true;
      }
      if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && rowColor_) {
        const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
        // The selected row is drawn in the highlight colours whether or not the list has the
        // focus: the system's grey for an unfocused selection does not read under white text.
        if (SendMessageW(hwnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED)) {
          draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
          draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
          draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        } else {
          draw.clrText = ToColorRef(rowColor_(row).value_or(text_));
        }
        result = CDRF_NEWFONT;
        return true;
      }
      result = CDRF_DODEFAULT;
      return true;
    }
    default: return false;
  }
}

LRESULT ReportListView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CONTEXTMENU && OnContextMenu) {
    POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    // From the keyboard (Shift+F10, the menu key): beside the selected row, or the list's corner.
    if (lp == -1) {
      RECT r{LVIR_LABEL, 0, 0, 0};
      const int row = ItemIndex();
      at = {4, 4};
      if (row >= 0 && SendMessageW(hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(&r))) {
        at = {r.left + 8, r.bottom};
      }
      ClientToScreen(hwnd(), &at);
    }
    OnContextMenu(at);
    return 0;
  }
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace sentavo::ui
