// Tabs: the plain tab control (a row of tabs that raises OnChange), and the page control whose
// pages are containers shown one at a time, with its tabs at the top or the bottom and pages that
// can be taken out of the row and put back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/controls_win.h"

namespace sentavo::ui {

class TabControl : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds, bool tabsAtBottom = false);
  int AddTab(std::string_view caption);
  void SetTabs(const std::vector<std::string>& captions);
  int TabCount() const;
  std::string TabCaption(int index) const;
  int TabIndex() const;
  // Raises no OnChange, as a change from the program does not.
  void SetTabIndex(int index);
  // The area below (or above) the tabs, in the tab control's client coordinates.
  Rect DisplayRect() const;

  std::function<void()> OnChange;

 protected:
  bool OnNotify(NMHDR& header, LRESULT& result) override;
};

class PageControl;

// One page: a container with a caption for its tab and a colour of its own.
class TabSheet : public Panel {
 public:
  TabSheet(PageControl& pages, std::string caption);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // A hidden page has no tab and is never shown.
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);
  PageControl& Pages() const { return *pages_; }

 private:
  friend class PageControl;
  PageControl* pages_;
  std::string caption_;
  bool tabVisible_ = true;
};

class PageControl : public Window {
 public:
  using Window::Window;
  bool Create(HWND parent, int id, const Bounds& bounds, bool tabsAtBottom = false);
  // A new page at the end, owned by the page control.
  TabSheet& AddPage(std::string caption);
  const std::vector<TabSheet*>& Pages() const { return pages_; }
  TabSheet* ActivePage() const { return active_; }
  // Shows `page` (made tab-visible if it was not). Raises no OnChange.
  void SetActivePage(TabSheet& page);
  TabControl& Tabs() { return tabs_; }

  std::function<void()> OnChange;  // the user picked another tab

 private:
  friend class TabSheet;
  void RebuildTabs();
  void LayoutPages();
  void ShowActive();
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  TabControl tabs_;
  std::vector<TabSheet*> pages_;
  std::vector<TabSheet*> visible_;  // the pages behind the tabs, in tab order
  TabSheet* active_ = nullptr;
};

}  // namespace sentavo::ui
