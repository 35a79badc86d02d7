#include "ui/controls_win.h"

#include <commctrl.h>

#include "formats/wide_win.h"
#include "ui/gdi_canvas_win.h"

namespace sentavo::ui {

Font::Font(const FontSpec& desc) : spec_(desc), handle_(CreateFontFrom(desc)) {}

FontSpec VerdanaBold(int height, TColor color) {
  FontSpec f;
  f.name = "Verdana";
  f.height = height;
  f.bold = true;
  f.color = color;
  return f;
}

FontSpec CourierNew(int height, TColor color) {
  FontSpec f;
  f.name = "Courier New";
  f.height = height;
  f.color = color;
  return f;
}

FontSpec DefaultFont() {
  return FontSpec{};
}

// ---- Control

bool Control::CreateSystem(HWND parent, const wchar_t* className, int id, const Bounds& bounds,
                           DWORD style, DWORD exStyle, std::string_view text) {
  WindowSpec desc = WindowSpec::Child(parent, id, bounds, style);
  desc.className = className;
  desc.exStyle = exStyle;
  desc.title = Widen(text);
  if (!CreateControl(desc)) return false;
  if (!font_.get()) font_ = Font(DefaultFont());
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return true;
}

void Control::SetFont(const FontSpec& desc) {
  font_ = Font(desc);
  textColor_ = desc.color;
  if (hwnd()) {
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

void Control::SetTextColor(TColor color) {
  textColor_ = color;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Control::SetColor(TColor color) {
  color_ = color;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFOCUS:
      focusPeer_ = reinterpret_cast<HWND>(wp);
      if (OnEnter && SameForm(focusPeer_)) OnEnter();
      break;
    case WM_KILLFOCUS:
      focusPeer_ = reinterpret_cast<HWND>(wp);
      if (OnExit && SameForm(focusPeer_)) OnExit();
      break;
    case WM_GETDLGCODE:
      // With a key handler, Escape comes here instead of to the dialog navigation. Enter is taken
      // by an edit's OnEnterKey alone.
      if (OnKeyDown && lp) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE) {
          return DefaultHandling(msg, wp, lp) | DLGC_WANTMESSAGE;
        }
      }
      break;
    case WM_KEYDOWN:
      if (OnKeyDown && OnKeyDown(static_cast<WORD>(wp))) return 0;
      break;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool Control::SameForm(HWND other) const {
  return other && GetAncestor(other, GA_ROOT) == GetAncestor(hwnd(), GA_ROOT);
}

bool Control::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(HIWORD(wp));
      result = 0;
      return true;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lp), result);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      if (!textColor_ && !color_) return false;
      const HDC dc = reinterpret_cast<HDC>(wp);
      const bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      const COLORREF back =
          color_ ? ToColorRef(*color_) : GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE);
      if (textColor_) ::SetTextColor(dc, ToColorRef(*textColor_));
      SetBkColor(dc, back);
      result = reinterpret_cast<LRESULT>(brush_.Get(back));
      return true;
    }
    default: return false;
  }
}

// ---- Edit

bool Edit::Create(HWND parent, int id, const Bounds& bounds, DWORD extraStyle) {
  return CreateSystem(parent, L"EDIT", id, bounds, WS_TABSTOP | ES_AUTOHSCROLL | extraStyle,
                      WS_EX_CLIENTEDGE);
}

void Edit::SetPasswordChar(wchar_t ch) {
  SendMessageW(hwnd(), EM_SETPASSWORDCHAR, ch, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void Edit::SetReadOnly(bool readOnly) {
  SendMessageW(hwnd(), EM_SETREADONLY, readOnly, 0);
}

bool Edit::ReadOnly() const {
  return (GetWindowLongW(hwnd(), GWL_STYLE) & ES_READONLY) != 0;
}

void Edit::SetMaxLength(int chars) {
  SendMessageW(hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(chars), 0);
}

void Edit::SelectAll() {
  SendMessageW(hwnd(), EM_SETSEL, 0, -1);
}

void Edit::OnCommand(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange();
}

LRESULT Edit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (OnEnterKey) {
    if (msg == WM_GETDLGCODE) {
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (wp == VK_RETURN || (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)) {
        return Control::HandleMessage(msg, wp, lp) | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
      }
    }
    if (msg == WM_CHAR && wp == L'\r') {
      OnEnterKey();
      return 0;
    }
  }
  // Escape that a key handler took must not also arrive as a character (a beep).
  if (msg == WM_CHAR && OnKeyDown && wp == 0x1B) return 0;
  return Control::HandleMessage(msg, wp, lp);
}

// ---- Button, CheckBox, GroupBox

bool Button::Create(HWND parent, int id, const Bounds& bounds, std::string_view caption,
                    bool isDefault) {
  return CreateSystem(parent, L"BUTTON", id, bounds,
                      WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, caption);
}

void Button::OnCommand(WORD code) {
  if (code == BN_CLICKED && OnClick) OnClick();
}

bool CheckBox::Create(HWND parent, int id, const Bounds& bounds, std::string_view caption) {
  return CreateSystem(parent, L"BUTTON", id, bounds, WS_TABSTOP | BS_AUTOCHECKBOX, 0, caption);
}

bool CheckBox::Checked() const {
  return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
  SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED && OnClick) OnClick();
}

bool GroupBox::Create(HWND parent, int id, const Bounds& bounds, std::string_view caption) {
  return CreateSystem(parent, L"BUTTON", id, bounds, BS_GROUPBOX | WS_CLIPCHILDREN,
                      WS_EX_CONTROLPARENT, caption);
}

LRESULT GroupBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // The system paints only the frame and caption: the inside is its colour or what is behind.
  if (msg == WM_ERASEBKGND || msg == WM_PRINTCLIENT) {
    const HDC dc = reinterpret_cast<HDC>(wp);
    if (BackgroundColor()) {
      RECT rc;
      GetClientRect(hwnd(), &rc);
      Brush back(CreateSolidBrush(ToColorRef(*BackgroundColor())));
      FillRect(dc, &rc, back.get());
    } else {
      PaintBehind(hwnd(), dc);
    }
    if (msg == WM_PRINTCLIENT) DefaultHandling(msg, wp, PRF_CLIENT);
    return 1;
  }
  return Control::HandleMessage(msg, wp, lp);
}

// ---- ListBox

bool ListBox::Create(HWND parent, int id, const Bounds& bounds) {
  return CreateSystem(parent, L"LISTBOX", id, bounds,
                      WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                      WS_EX_CLIENTEDGE);
}

int ListBox::Add(std::string_view item) {
  return static_cast<int>(
      SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str())));
}

void ListBox::Delete(int index) {
  SendMessageW(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::Clear() {
  SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
}

void ListBox::SetItems(const std::vector<std::string>& items) {
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  Clear();
  std::size_t chars = 0;
  for (const auto& item : items) chars += item.size() + 1;
  SendMessageW(hwnd(), LB_INITSTORAGE, items.size(), chars * sizeof(wchar_t));
  for (const auto& item : items) Add(item);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

int ListBox::Count() const {
  return static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
}

std::string ListBox::Item(int index) const {
  const LRESULT n = SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return Narrow(text);
}

std::vector<std::string> ListBox::Items() const {
  std::vector<std::string> out;
  for (int i = 0, n = Count(); i < n; ++i) out.push_back(Item(i));
  return out;
}

int ListBox::ItemIndex() const {
  return static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) {
  SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ListBox::OnCommand(WORD code) {
  if (code == LBN_SELCHANGE && OnSelect) OnSelect();
  if (code == LBN_DBLCLK && OnDblClick) OnDblClick();
}

// ---- ComboBox

bool ComboBox::Create(HWND parent, int id, const Bounds& bounds,
                      const std::vector<std::string>& items) {
  Bounds withList = bounds;
  withList.height += 160;  // a combo box's height includes its dropped-down list
  if (!CreateSystem(parent, L"COMBOBOX", id, withList,
                    WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST)) {
    return false;
  }
  for (const std::string& item : items) Add(item);
  return true;
}

int ComboBox::Add(std::string_view item) {
  return static_cast<int>(
      SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str())));
}

int ComboBox::Count() const {
  return static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0));
}

int ComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
  SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ComboBox::SelectedText() const {
  const int index = ItemIndex();
  if (index < 0) return {};
  const LRESULT n = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return Narrow(text);
}

void ComboBox::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE && OnChange) OnChange();
}

// ---- Painting what is behind

void PaintBehind(HWND self, HDC dc) {
  const HWND parent = GetParent(self);
  if (!parent) return;
  RECT mine;
  GetWindowRect(self, &mine);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&mine), 2);
  POINT base;
  GetViewportOrgEx(dc, &base);
  SetViewportOrgEx(dc, base.x - mine.left, base.y - mine.top, nullptr);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  std::vector<HWND> below;
  for (HWND h = GetWindow(self, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) below.push_back(h);
  for (auto it = below.rbegin(); it != below.rend(); ++it) {
    if (!(GetWindowLongW(*it, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r, common;
    GetWindowRect(*it, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    if (!IntersectRect(&common, &r, &mine)) continue;
    SetViewportOrgEx(dc, base.x + r.left - mine.left, base.y + r.top - mine.top, nullptr);
    SendMessageW(*it, kPaintForSibling, reinterpret_cast<WPARAM>(dc), 0);
  }
  SetViewportOrgEx(dc, base.x, base.y, nullptr);
}

// ---- Label

bool Label::Create(HWND parent, int id, const Bounds& bounds, std::string_view caption) {
  WindowSpec desc = WindowSpec::Child(parent, id, bounds);
  desc.className = L"SentavoLabel";
  desc.title = Widen(caption);
  if (!Window::Create(desc)) return false;
  FitToText();
  return true;
}

void Label::SetCaption(std::string_view caption) {
  SetText(caption);  // WM_SETTEXT repaints and fits
}

void Label::SetFont(const FontSpec& desc) {
  font_ = Font(desc);
  FitToText();
  Invalidate();
}

void Label::SetColor(TColor background) {
  color_ = background;
  Invalidate();
}

void Label::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void Label::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void Label::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToText();
}

void Label::FitToText() {
  if (!autoSize_ || !hwnd()) return;
  const std::wstring text = Widen(Text());
  ClientDC dc(hwnd());
  SelectScope font(dc.get(), font_.get());
  RECT rc{0, 0, 0, 0};
  DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE);
  SetWindowPos(hwnd(), nullptr, 0, 0, text.empty() ? 0 : rc.right, rc.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::Paint(HDC target) {
  const Size size = ClientSize();
  OffscreenBuffer buffer(target, size.cx, size.cy);
  const HDC dc = buffer.Valid() ? buffer.dc() : target;
  RECT rc{0, 0, size.cx, size.cy};
  if (transparent_) {
    PaintBehind(hwnd(), dc);
  } else {
    Brush back(CreateSolidBrush(ToColorRef(color_)));
    FillRect(dc, &rc, back.get());
  }
  SelectScope font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ToColorRef(IsWindowEnabled(hwnd()) ? font_.Description().color : clGrayText));
  UINT format = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
  if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
  const std::wstring text = Widen(Text());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
  if (buffer.Valid()) buffer.CopyTo(target);
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintScope ps(hwnd());
      Paint(ps.get());
      return 0;
    }
    case WM_PRINTCLIENT:
    case kPaintForSibling: Paint(reinterpret_cast<HDC>(wp)); return 0;
    case WM_SETTEXT: {
      const LRESULT r = DefaultHandling(msg, wp, lp);
      FitToText();
      Invalidate();
      return r;
    }
    case WM_ENABLE: Invalidate(); return 0;
    case WM_LBUTTONDOWN: pressed_ = true; return 0;
    case WM_LBUTTONUP:
      if (pressed_ && OnClick) {
        pressed_ = false;
        OnClick();
      }
      pressed_ = false;
      return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}

// ---- Bevel

bool Bevel::Create(HWND parent, int id, const Bounds& bounds, TBevelStyle style) {
  style_ = style;
  WindowSpec desc = WindowSpec::Child(parent, id, bounds);
  desc.className = L"SentavoBevel";
  return Window::Create(desc);
}

void Bevel::SetStyle(TBevelStyle style) {
  style_ = style;
  Invalidate();
}

void Bevel::PaintTo(HDC target) {
  const Size s = ClientSize();
  OffscreenBuffer buffer(target, s.cx, s.cy);
  const HDC dc = buffer.Valid() ? buffer.dc() : target;
  PaintBehind(hwnd(), dc);
  {
    GdiCanvas c(dc);
    const TColor first = style_ == TBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = style_ == TBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
    c.FrameRect({0, 0, s.cx - 1, s.cy - 1}, first);
    c.FrameRect({1, 1, s.cx, s.cy}, second);
  }
  if (buffer.Valid()) buffer.CopyTo(target);
}

LRESULT Bevel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;  // only a frame: clicks go through
    case WM_PAINT: {
      PaintScope ps(hwnd());
      PaintTo(ps.get());
      return 0;
    }
    case WM_PRINTCLIENT:
    case kPaintForSibling: PaintTo(reinterpret_cast<HDC>(wp)); return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}

// ---- PaintBox

bool PaintBox::Create(HWND parent, int id, const Bounds& bounds) {
  WindowSpec desc = WindowSpec::Child(parent, id, bounds);
  desc.className = L"SentavoPaintBox";
  return Window::Create(desc);
}

void PaintBox::PaintTo(HDC target) {
  const Size s = ClientSize();
  OffscreenBuffer buffer(target, s.cx, s.cy);
  const HDC dc = buffer.Valid() ? buffer.dc() : target;
  {
    GdiCanvas c(dc);
    if (OnPaint) OnPaint(c, s);
  }
  if (buffer.Valid()) buffer.CopyTo(target);
}

LRESULT PaintBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintScope ps(hwnd());
      PaintTo(ps.get());
      return 0;
    }
    case WM_PRINTCLIENT:
    case kPaintForSibling: PaintTo(reinterpret_cast<HDC>(wp)); return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}

// ---- Panel

bool Panel::Create(HWND parent, int id, const Bounds& bounds, TPanelBevel outer) {
  bevel_ = outer;
  WindowSpec desc = WindowSpec::Child(parent, id, bounds, WS_CLIPCHILDREN);
  desc.className = L"SentavoPanel";
  desc.exStyle = WS_EX_CONTROLPARENT;
  return Window::Create(desc);
}

void Panel::SetColor(TColor color) {
  color_ = color;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Panel::SetBevelOuter(TPanelBevel bevel) {
  bevel_ = bevel;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Panel::PaintBackground(HDC dc) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  Brush back(CreateSolidBrush(ToColorRef(color_)));
  FillRect(dc, &rc, back.get());
  if (bevel_ == TPanelBevel::bvLowered) DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
  if (bevel_ == TPanelBevel::bvRaised) DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PRINTCLIENT: PaintBackground(reinterpret_cast<HDC>(wp)); return 0;
    case WM_PAINT: {
      PaintScope ps(hwnd());
      PaintBackground(ps.get());
      return 0;
    }
    default: return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace sentavo::ui
