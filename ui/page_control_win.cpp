#include "ui/page_control_win.h"

#include <commctrl.h>

#include <algorithm>

#include "formats/wide_win.h"

namespace sentavo::ui {

// ---- TabControl

bool TabControl::Create(HWND parent, int id, const Bounds& bounds, bool tabsAtBottom) {
  return CreateSystem(parent, WC_TABCONTROLW, id, bounds,
                      WS_TABSTOP | WS_CLIPCHILDREN | (tabsAtBottom ? TCS_BOTTOM : 0));
}

int TabControl::AddTab(std::string_view caption) {
  std::wstring text = Widen(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  return static_cast<int>(SendMessageW(hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(TabCount()),
                                       reinterpret_cast<LPARAM>(&item)));
}

void TabControl::SetTabs(const std::vector<std::string>& captions) {
  SendMessageW(hwnd(), TCM_DELETEALLITEMS, 0, 0);
  for (const std::string& c : captions) AddTab(c);
}

int TabControl::TabCount() const {
  return static_cast<int>(SendMessageW(hwnd(), TCM_GETITEMCOUNT, 0, 0));
}

std::string TabControl::TabCaption(int index) const {
  wchar_t buf[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = 255;
  SendMessageW(hwnd(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return Narrow(buf);
}

int TabControl::TabIndex() const {
  return static_cast<int>(SendMessageW(hwnd(), TCM_GETCURSEL, 0, 0));
}

void TabControl::SetTabIndex(int index) {
  SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

Rect TabControl::DisplayRect() const {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  SendMessageW(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
  return {rc.left, rc.top, rc.right, rc.bottom};
}

bool TabControl::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != TCN_SELCHANGE) return false;
  if (OnChange) OnChange();
  result = 0;
  return true;
}

// ---- TabSheet

TabSheet::TabSheet(PageControl& pages, std::string caption)
    : Panel(&pages), pages_(&pages), caption_(std::move(caption)) {}

void TabSheet::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  pages_->RebuildTabs();
}

void TabSheet::SetTabVisible(bool visible) {
  if (visible == tabVisible_) return;
  tabVisible_ = visible;
  pages_->RebuildTabs();
}

// ---- PageControl

bool PageControl::Create(HWND parent, int id, const Bounds& bounds, bool tabsAtBottom) {
  WindowSpec desc = WindowSpec::Child(parent, id, bounds, WS_CLIPCHILDREN);
  desc.className = L"SentavoPageControl";
  desc.exStyle = WS_EX_CONTROLPARENT;
  if (!Window::Create(desc)) return false;
  if (!tabs_.Create(hwnd(), 1, {0, 0, bounds.width, bounds.height}, tabsAtBottom)) return false;
  tabs_.OnChange = [this] {
    const int index = tabs_.TabIndex();
    if (index >= 0 && index < static_cast<int>(visible_.size())) active_ = visible_[index];
    ShowActive();
    if (OnChange) OnChange();
  };
  return true;
}

TabSheet& PageControl::AddPage(std::string caption) {
  auto& page = *new TabSheet(*this, std::move(caption));  // owned: freed with the page control
  const Rect r = tabs_.DisplayRect();
  page.Create(hwnd(), 100 + static_cast<int>(pages_.size()),
              {r.left, r.top, r.Width(), r.Height()});
  page.SetVisible(false);
  page.BringToFront();  // above the tab control, which only draws the tabs around it
  pages_.push_back(&page);
  if (!active_) active_ = &page;
  RebuildTabs();
  return page;
}

void PageControl::SetActivePage(TabSheet& page) {
  active_ = &page;
  if (!page.TabVisible()) {
    page.tabVisible_ = true;
  }
  RebuildTabs();
}

void PageControl::RebuildTabs() {
  if (!tabs_.hwnd()) return;
  visible_.clear();
  std::vector<std::string> captions;
  for (TabSheet* p : pages_) {
    if (!p->TabVisible()) continue;
    visible_.push_back(p);
    captions.push_back(p->Caption());
  }
  if (active_ && !active_->TabVisible()) {
    active_ = visible_.empty() ? nullptr : visible_.front();
  }
  tabs_.SetTabs(captions);
  const auto it = std::find(visible_.begin(), visible_.end(), active_);
  tabs_.SetTabIndex(it == visible_.end() ? -1 : static_cast<int>(it - visible_.begin()));
  LayoutPages();
  ShowActive();
}

void PageControl::LayoutPages() {
  const Rect r = tabs_.DisplayRect();
  for (TabSheet* p : pages_) p->SetBounds({r.left, r.top, r.Width(), r.Height()});
}

void PageControl::ShowActive() {
  for (TabSheet* p : pages_) {
    if (p != active_) p->SetVisible(false);
  }
  if (active_) active_->SetVisible(true);
}

LRESULT PageControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (tabs_.hwnd()) {
        MoveWindow(tabs_.hwnd(), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        LayoutPages();
      }
      return 0;
    case WM_ERASEBKGND: return 1;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace sentavo::ui
