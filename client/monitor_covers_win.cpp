#include "client/monitor_covers_win.h"

namespace sentavo::client {
namespace {

const wchar_t kCoverClass[] = L"SentavoMonitorCover";

LRESULT CALLBACK CoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    // A click neither activates the cover nor goes anywhere else.
    case WM_MOUSEACTIVATE: return MA_NOACTIVATEANDEAT;
    case WM_CLOSE: return 0;  // only the lock takes its covers away
    default: return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

HINSTANCE RegisteredClass() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, kCoverClass, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = CoverProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));  // the lock window's
    wc.lpszClassName = kCoverClass;
    RegisterClassExW(&wc);
  }
  return instance;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<ScreenRect>*>(lp)->push_back({r.left, r.top, r.right, r.bottom});
  }
  return TRUE;
}

}  // namespace

void MonitorCovers::Cover(HWND lockWindow) {
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(lockWindow, MONITOR_DEFAULTTOPRIMARY), &info)) return;
  const RECT& r = info.rcMonitor;
  Place(CoverRects(monitors, {r.left, r.top, r.right, r.bottom}));
}

void MonitorCovers::Place(const std::vector<ScreenRect>& rects) {
  while (covers_.size() > rects.size()) {
    DestroyWindow(covers_.back());
    covers_.pop_back();
  }
  const HINSTANCE instance = RegisteredClass();
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const ScreenRect& r = rects[i];
    if (i == covers_.size()) {
      const HWND cover = CreateWindowExW(
          WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kCoverClass, L"", WS_POPUP, r.left,
          r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
      if (!cover) return;
      covers_.push_back(cover);
    }
    SetWindowPos(covers_[i], HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

}  // namespace sentavo::client
