// The replacement start button on Windows: tStartPanel inside the taskbar, the picture of the
// real start button, and the measuring of a popup menu.
#pragma once

#include <windows.h>

#include <string>

#include "lockengine/start_button.h"

namespace sentavo::lockengine {

class Win32StartButtonHost final : public StartButtonHost {
 public:
  // The taskbar is the top-level window of `taskbarClass`; tests lay out a taskbar of their own.
  explicit Win32StartButtonHost(std::wstring taskbarClass = L"Shell_TrayWnd")
      : taskbarClass_(std::move(taskbarClass)) {}

  std::optional<Rect> FindStartButton() override;
  void BringTaskbarToForeground() override;
  std::unique_ptr<StartControl> CapturePicture(const Rect& button) override;
  std::unique_ptr<StartPanel> CreatePanel(const Rect& button,
                                          std::unique_ptr<StartControl> control) override;
  std::int32_t MeasureMenuHeight(PopupMenuRef& menu, Point at) override;

 private:
  HWND Taskbar() const;
  HWND RealStartButton(HWND taskbar) const;
  std::wstring taskbarClass_;
};

}  // namespace sentavo::lockengine
