#include "ui/owner_data_list_win.h"

#include "formats/wide_win.h"
#include "ui/gdi_canvas_win.h"
#include "ui/gdi_win.h"

namespace sentavo::ui {
namespace {

// A row shows some dozens of characters; a damaged list may hold a line of megabytes.
constexpr std::size_t kMaxDrawnBytes = 4096;

bool SameText(std::wstring_view a, std::wstring_view b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

bool OwnerDataListBox::Create(HWND parent, int id, const Bounds& bounds, RowText rows) {
  rows_ = std::move(rows);
  shown_ = 0;
  if (!CreateSystem(parent, L"LISTBOX", id, bounds,
                    WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_NODATA |
                        LBS_OWNERDRAWFIXED,
                    WS_EX_CLIENTEDGE)) {
    return false;
  }
  // The system carries the text of LB_FINDSTRING and the like over from another process only to
  // a list box whose style says it has strings; without the bit this one would get a pointer
  // into the other process. The list box itself took its kind (no data) from the style it was
  // created with, and no later change of the style makes it keep strings.
  SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) | LBS_HASSTRINGS);
  return true;
}

void OwnerDataListBox::Follow(const RowHistory& history, std::size_t count) {
  const RowChange change = history.Since(shown_, count);
  switch (change.kind) {
    case RowChange::Kind::None: break;
    case RowChange::Kind::Insert: {
      // -1 appends, also where an index equal to the count would be refused.
      const bool last = change.index >= static_cast<std::size_t>(Count());
      SendMessageW(hwnd(), LB_INSERTSTRING, last ? static_cast<WPARAM>(-1) : change.index, 0);
      break;
    }
    case RowChange::Kind::Remove: SendMessageW(hwnd(), LB_DELETESTRING, change.index, 0); break;
    case RowChange::Kind::Refill: Refill(count); break;
  }
  shown_ = history.revision();
  // A change that did not land (no memory, a row the control lacks) would show the wrong names.
  if (static_cast<std::size_t>(Count()) != count) Refill(count);
}

void OwnerDataListBox::Refill(std::size_t count) {
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
  if (count) SendMessageW(hwnd(), LB_SETCOUNT, count, 0);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

int OwnerDataListBox::Count() const {
  return static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
}

std::string OwnerDataListBox::Item(int index) const {
  if (index < 0 || index >= Count()) return {};
  return std::string(rows_(static_cast<std::size_t>(index)));
}

int OwnerDataListBox::ItemIndex() const {
  return static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
}

void OwnerDataListBox::SetItemIndex(int index) {
  SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void OwnerDataListBox::OnCommand(WORD code) {
  if (code == LBN_SELCHANGE && OnSelect) OnSelect();
  if (code == LBN_DBLCLK && OnDblClick) OnDblClick();
}

std::wstring OwnerDataListBox::RowW(std::size_t row) const {
  return Widen(rows_(row));
}

std::optional<std::size_t> OwnerDataListBox::Find(WPARAM start, const wchar_t* text,
                                                  bool exact) const {
  if (!text) return std::nullopt;
  const std::wstring_view wanted(text);
  // The plain list box finds no row that begins with nothing.
  if (!exact && wanted.empty()) return std::nullopt;
  const int after = static_cast<int>(start);
  return FindRow(static_cast<std::size_t>(Count()),
                 after < 0 ? std::nullopt : std::optional<std::size_t>(after),
                 [&](std::size_t row) {
                   const std::wstring name = RowW(row);
                   if (exact) return SameText(name, wanted);
                   return name.size() >= wanted.size() &&
                          SameText(std::wstring_view(name).substr(0, wanted.size()), wanted);
                 });
}

// The plain list box goes to the next row that starts with a typed character; a list box without
// strings would ignore the character.
void OwnerDataListBox::TypeAhead(wchar_t ch) {
  const wchar_t typed[2] = {ch, L'\0'};
  const auto row =
      Find(static_cast<WPARAM>(SendMessageW(hwnd(), LB_GETCARETINDEX, 0, 0)), typed, false);
  if (!row) return;
  SetItemIndex(static_cast<int>(*row));
  // The parent hears of it as of a selection with the arrow keys.
  SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(Id(), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(hwnd()));
}

void OwnerDataListBox::MatchRowHeightToFont() {
  // The plain list box makes its rows as high as its font's cells; an owner-drawn one keeps the
  // height it was created with.
  const ClientDC dc(hwnd());
  const HFONT font = FontHandle() ? FontHandle() : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  const SelectScope select(dc.get(), font);
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc.get(), &metrics)) {
    SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, MAKELPARAM(metrics.tmHeight, 0));
  }
}

LRESULT OwnerDataListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const auto known = [&] { return static_cast<int>(wp) >= 0 && static_cast<int>(wp) < Count(); };
  switch (msg) {
    case LB_GETTEXTLEN:
      if (!known()) return LB_ERR;
      return static_cast<LRESULT>(RowW(wp).size());
    case LB_GETTEXT: {
      if (!known() || !lp) return LB_ERR;
      // The caller's buffer holds LB_GETTEXTLEN characters and the terminator.
      const std::wstring text = RowW(wp);
      wchar_t* out = reinterpret_cast<wchar_t*>(lp);
      text.copy(out, text.size());
      out[text.size()] = L'\0';
      return static_cast<LRESULT>(text.size());
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: {
      const auto row = Find(wp, reinterpret_cast<const wchar_t*>(lp), msg == LB_FINDSTRINGEXACT);
      return row ? static_cast<LRESULT>(*row) : LB_ERR;
    }
    case LB_SELECTSTRING: {
      const auto row = Find(wp, reinterpret_cast<const wchar_t*>(lp), false);
      if (!row) return LB_ERR;
      SetItemIndex(static_cast<int>(*row));
      return static_cast<LRESULT>(*row);
    }
    case WM_CHAR:
      // Control characters (Tab, Enter, Escape, Backspace) start no name.
      if (wp >= 0x20) {
        TypeAhead(static_cast<wchar_t>(wp));
        return 0;
      }
      break;
    case WM_SETFONT: {
      const LRESULT r = Control::HandleMessage(msg, wp, lp);
      MatchRowHeightToFont();
      return r;
    }
    default: break;
  }
  return Control::HandleMessage(msg, wp, lp);
}

bool OwnerDataListBox::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
  }
  return Control::HandleReflected(msg, wp, lp, result);
}

// As the plain list box paints a row: the text one pixel in from the left on the row's background,
// the system's highlight colours when selected, grey text when disabled, and a dotted focus
// rectangle around the row that has the keyboard's caret. The whole row is painted for every
// action, so that a focus change never leaves half a rectangle behind.
void OwnerDataListBox::DrawRow(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  COLORREF text = TextColor() ? ToColorRef(*TextColor()) : GetSysColor(COLOR_WINDOWTEXT);
  if (item.itemState & ODS_DISABLED) text = GetSysColor(COLOR_GRAYTEXT);
  COLORREF back = BackgroundColor() ? ToColorRef(*BackgroundColor()) : GetSysColor(COLOR_WINDOW);
  if (selected) {
    text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    back = GetSysColor(COLOR_HIGHLIGHT);
  }
  // An empty list draws its focus rectangle on a row that does not exist.
  const bool exists = static_cast<int>(item.itemID) >= 0 && static_cast<int>(item.itemID) < Count();
  const std::wstring name =
      exists ? Widen(rows_(item.itemID).substr(0, kMaxDrawnBytes)) : std::wstring();
  const SelectScope font(dc, FontHandle() ? FontHandle() : GetCurrentObject(dc, OBJ_FONT));
  const COLORREF oldText = ::SetTextColor(dc, text);
  const COLORREF oldBack = SetBkColor(dc, back);
  ExtTextOutW(dc, item.rcItem.left + 1, item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem,
              name.c_str(), static_cast<UINT>(name.size()), nullptr);
  ::SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    DrawFocusRect(dc, &item.rcItem);
  }
}

}  // namespace sentavo::ui
