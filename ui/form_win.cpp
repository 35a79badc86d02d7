#include "ui/form_win.h"

#include <commctrl.h>

#include <vector>

#include "formats/wide_win.h"
#include "ui/gdi_canvas_win.h"
#include "ui/gdi_win.h"

namespace sentavo::ui {

bool Form::CreateForm(const FormSpec& desc) {
  color_ = desc.color;
  WindowSpec w;
  w.className = L"SentavoForm";
  w.title = Widen(desc.caption);
  w.style = desc.borderless   ? WS_POPUP
            : desc.toolWindow ? (WS_CAPTION | WS_SYSMENU)
                              : WS_OVERLAPPEDWINDOW;
  w.style |= WS_CLIPCHILDREN;
  w.exStyle = WS_EX_CONTROLPARENT | (desc.toolWindow ? WS_EX_TOOLWINDOW : 0) |
              (desc.stayOnTop ? WS_EX_TOPMOST : 0);
  w.x = desc.bounds.left;
  w.y = desc.bounds.top;
  w.width = desc.bounds.width;
  w.height = desc.bounds.height;
  if (desc.centered) {
    w.x = (GetSystemMetrics(SM_CXSCREEN) - desc.bounds.width) / 2;
    w.y = (GetSystemMetrics(SM_CYSCREEN) - desc.bounds.height) / 2;
  }
  if (desc.maximized) {
    w.x = w.y = 0;
    w.width = GetSystemMetrics(SM_CXSCREEN);
    w.height = GetSystemMetrics(SM_CYSCREEN);
  }
  return Create(w);
}

void Form::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  if (OnShow) OnShow();
}

void Form::Hide() {
  ShowWindow(hwnd(), SW_HIDE);
}

void Form::Close() {
  PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void Form::SetColor(TColor color) {
  color_ = color;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void Form::SetStayOnTop(bool onTop) {
  SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::PaintBackground(HDC dc) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  Brush back(CreateSolidBrush(ToColorRef(color_)));
  FillRect(dc, &rc, back.get());
}

bool Form::DispatchDialogChar(char32_t ch) {
  std::vector<HWND> children;
  EnumChildWindows(
      hwnd(),
      [](HWND h, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND h : children) {
    if (!IsWindowVisible(h)) continue;
    Window* w = FromHandle(h);
    if (w && w->DialogChar(ch)) return true;
  }
  return false;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: PaintBackground(reinterpret_cast<HDC>(wp)); return 1;
    case WM_PRINTCLIENT: PaintBackground(reinterpret_cast<HDC>(wp)); return 0;
    case WM_CLOSE:
      if (OnCloseQuery && !OnCloseQuery()) return 0;
      if (OnClose) {
        OnClose();
        return 0;
      }
      break;
    case WM_DESTROY:
      if (OnDestroy) OnDestroy();
      break;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool PreTranslateFormMessage(MSG& msg) {
  const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (!root) return false;
  Form* form = dynamic_cast<Form*>(Window::FromHandle(root));
  if (!form) return false;
  const bool sysChar = msg.message == WM_SYSCHAR;
  // A plain character goes to the accelerators only when the focused control takes no text.
  const bool plainChar =
      msg.message == WM_CHAR &&
      !(SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
        (DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTALLKEYS));
  if ((sysChar || plainChar) && form->DispatchDialogChar(static_cast<char32_t>(msg.wParam))) {
    return true;
  }
  return IsDialogMessageW(root, &msg) != 0;
}

void InitWindowLayer() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                           ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslateFormMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace sentavo::ui
