// The hidden application window of a program: it carries the taskbar button and the program's
// title, and owns the program's forms so that none needs a button of its own.
#pragma once

#include <windows.h>

#include <string>

#include "ui/window_win.h"

namespace sentavo::ui {

struct ApplicationWindowOptions {
  const wchar_t* className = L"SentavoApplication";
  std::string title;
  HICON icon = nullptr;
  DWORD style = WS_POPUP;
  bool centred = false;  // a zero-size window in the middle of the screen, else at the origin
};

class ApplicationWindow : public Window {
 public:
  bool Create(const ApplicationWindowOptions& options);
  // Makes `form` owned by this window.
  void Own(HWND form);
  // The form that takes the activation when the taskbar button is pressed; none leaves it here.
  void SetFront(HWND front) { front_ = front; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND front_ = nullptr;
};

}  // namespace sentavo::ui
