// The base of every window of ours. A window of one of our own classes binds `this` at
// WM_NCCREATE; a system control (EDIT, BUTTON, …) is subclassed right after creation. Either way
// its messages reach the virtual HandleMessage, and no exception ever reaches USER32.
//
// A parent passes the notifications that concern a child (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR…,
// WM_DRAWITEM, WM_HSCROLL, WM_VSCROLL) back to the child's own object (HandleReflected), so that
// every control raises its own typed events whatever window it sits in.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/component.h"
#include "ui/geometry.h"

namespace sentavo::ui {

struct WindowSpec {
  const wchar_t* className = L"SentavoWindow";  // ours: registered on first use
  std::wstring title;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;  // HWND_MESSAGE for a message-only window
  UINT_PTR id = 0;        // the control ID of a child window
  UINT classStyle = CS_DBLCLKS;
  HBRUSH background = nullptr;
  HCURSOR cursor = nullptr;  // the arrow when empty

  // A child at `bounds` in `parent`.
  static WindowSpec Child(HWND parent, int id, const Bounds& bounds, DWORD style = 0);
};

class Window : public Component {
 public:
  explicit Window(Component* owner = nullptr, std::string name = {});
  ~Window() override;

  // A window of our own class. False when it could not be created (the cause is in GetLastError).
  bool Create(const WindowSpec& desc);
  // A window of a system class, subclassed so that its messages pass HandleMessage first.
  bool CreateControl(const WindowSpec& desc);
  void Destroy();
  HWND hwnd() const { return hwnd_; }

  // The object of a window made by this class, or nullptr.
  static Window* FromHandle(HWND hwnd);

  int Id() const;
  HWND Parent() const;
  // Place and size in the parent's client area.
  void SetBounds(const Bounds& bounds);
  Bounds GetBounds() const;
  Size ClientSize() const;
  void SetVisible(bool visible);
  bool Visible() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  // The window text, UTF-8.
  void SetText(std::string_view text);
  std::string Text() const;
  void Invalidate();
  void Focus();
  bool Focused() const;
  // Above or below every sibling (children paint in this order and clip each other).
  void BringToFront();
  void SendToBack();

  // A character the form offers to every control (Alt+letter); true when this one took it.
  virtual bool DialogChar(char32_t ch);

 protected:
  // Routes one message; the default passes notifications to the child concerned, then the
  // message to DefaultHandling.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // DefWindowProcW for our classes, the system class's own procedure for a subclassed control.
  LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp);
  // A notification about this window that its parent received; true when handled, with `result`.
  virtual bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void OnHandleDestroyed() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT Route(UINT msg, WPARAM wp, LPARAM lp);
  bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
};

// The module's instance handle, for class registration and resources.
HINSTANCE ModuleInstance();

// Text between UTF-8 and the window's UTF-16.
std::string WindowTextOf(HWND hwnd);

}  // namespace sentavo::ui
