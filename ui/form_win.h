// A top-level window of a program: its colour, its caption, its close question, and the offer of
// typed characters to the accelerators of its controls. RunMessageLoop drives every form of the
// thread with the dialog keys (Tab between controls).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/canvas.h"
#include "ui/window_win.h"

namespace sentavo::ui {

struct FormSpec {
  std::string caption;
  Bounds bounds{0, 0, 640, 480};  // the outer size; left and top unless centred
  bool centered = true;
  bool toolWindow = false;  // a fixed tool window: no minimise or maximise box
  bool borderless = false;
  bool stayOnTop = false;
  bool maximized = false;
  TColor color = clBtnFace;
};

class Form : public Window {
 public:
  using Window::Window;
  // The form stays hidden until Show.
  bool CreateForm(const FormSpec& desc);
  void Show();
  void Hide();
  void Close();  // as the close box: asks OnCloseQuery first
  void SetColor(TColor color);
  TColor Color() const { return color_; }
  void SetStayOnTop(bool onTop);
  void SetCaption(std::string_view caption) { SetText(caption); }

  // Offers `ch` to every visible enabled control of the form; true when one took it.
  bool DispatchDialogChar(char32_t ch);

  std::function<bool()> OnCloseQuery;  // false keeps the form open
  std::function<void()> OnClose;       // the form closes (hidden or destroyed by the caller)
  std::function<void()> OnShow;        // each time the form is shown
  std::function<void()> OnDestroy;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void PaintBackground(HDC dc);

 private:
  TColor color_ = clBtnFace;
};

// Registers the common controls (date and time pickers, tabs, up-down, lists) with the system;
// every program calls it once before it makes its first window.
void InitWindowLayer();

// Runs the thread's messages until WM_QUIT; returns its exit code.
int RunMessageLoop();
// One message through the forms' keyboard handling; false when it was not consumed there.
bool PreTranslateFormMessage(MSG& msg);

}  // namespace sentavo::ui
