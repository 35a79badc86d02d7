#include "client/notice_window_win.h"

#include <algorithm>

#include "client/lock_screen_texts.h"
#include "client/lock_window_ids.h"
#include "formats/wide_win.h"

namespace sentavo::client {

namespace {

constexpr wchar_t kClassName[] = L"SentavoNotice";
constexpr UINT_PTR kCloseTimer = 1;
constexpr int kClientWidth = 320, kMargin = 12, kPad = 10, kTextWidth = kClientWidth - 16;
constexpr int kCountdownHeight = 32;
const COLORREF kBackground = RGB(0, 0, 0);
const COLORREF kTextColour = RGB(255, 255, 255);
const COLORREF kCountdownColour = RGB(255, 255, 0);

HBRUSH BackgroundBrush() {
  static const HBRUSH brush = CreateSolidBrush(kBackground);
  return brush;
}

bool RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window once its owner is known
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
    wc.hbrBackground = BackgroundBrush();
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info))
    reinterpret_cast<std::vector<RECT>*>(param)->push_back(info.rcWork);
  return TRUE;
}

}  // namespace

LRESULT CALLBACK Notices::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Notices*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    // Never activated, not even by a click: the guest's program keeps the keyboard.
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_TIMER: DestroyWindow(hwnd); return 0;
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wp);
      const bool countdown = GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == ids::kNoticeCountdown;
      SetTextColor(dc, countdown ? kCountdownColour : kTextColour);
      SetBkColor(dc, kBackground);
      return reinterpret_cast<LRESULT>(BackgroundBrush());
    }
    case WM_DESTROY:
      if (self) self->Forget(hwnd);
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void Notices::Forget(HWND hwnd) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), hwnd), windows_.end());
}

void Notices::CloseAll() {
  for (const HWND w : std::vector<HWND>(windows_)) DestroyWindow(w);
  windows_.clear();
}

void Notices::Show(const ui::NoticeRequest& request, const std::string& countdown) {
  CloseAll();
  if (!RegisterOnce()) return;
  if (!textFont_) {
    textFont_ =
        CreateFontW(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Verdana");
    countdownFont_ =
        CreateFontW(-22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Verdana");
  }
  std::vector<RECT> monitors;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty())
    monitors.push_back(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});

  // The operator's message may run to 200 characters: the window grows to the lines it takes.
  const std::wstring text = Widen(request.text);
  int textHeight = 40;
  if (const HDC screen = GetDC(nullptr)) {
    const HGDIOBJ old = SelectObject(screen, textFont_);
    RECT measure{0, 0, kTextWidth, 0};
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &measure,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
    textHeight = std::max<int>(textHeight, measure.bottom - measure.top);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
  }
  const int clientHeight =
      kPad + textHeight + (request.countdown ? 4 + kCountdownHeight : 0) + kPad;

  const DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
  const DWORD exStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  RECT frame{0, 0, kClientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const std::wstring caption = Widen(texts::kNoticeCaption);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const RECT& work : monitors) {
    const HWND w = CreateWindowExW(exStyle, kClassName, caption.c_str(), style,
                                   work.right - width - kMargin, work.bottom - height - kMargin,
                                   width, height, nullptr, nullptr, instance, nullptr);
    if (!w) continue;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Notices::Proc));
    // A "&" in the operator's text is a character, not the mark of an accelerator.
    const HWND label = CreateWindowExW(
        0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 8, kPad,
        kTextWidth, textHeight, w, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kNoticeText)),
        instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), FALSE);
    if (request.countdown) {
      const HWND count = CreateWindowExW(
          0, L"STATIC", Widen(countdown).c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX,
          8, kPad + textHeight + 4, kTextWidth, kCountdownHeight, w,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kNoticeCountdown)), instance, nullptr);
      SendMessageW(count, WM_SETFONT, reinterpret_cast<WPARAM>(countdownFont_), FALSE);
    }
    SetTimer(w, kCloseTimer, static_cast<UINT>(std::clamp(request.seconds, 1, 60)) * 1000u,
             nullptr);
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    windows_.push_back(w);
  }
  MessageBeep(MB_ICONEXCLAMATION);
}

void Notices::UpdateCountdown(const std::string& countdown) {
  const std::wstring text = Widen(countdown);
  for (const HWND w : windows_) {
    if (const HWND count = GetDlgItem(w, ids::kNoticeCountdown))
      SetWindowTextW(count, text.c_str());
  }
}

}  // namespace sentavo::client
