// Helpers of the window tests under Wine: a host window for the controls, rendering a window into
// a bitmap, pumping messages, and a second thread that answers the modal dialogs the way a person
// would.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/pump_win.h"
#include "ui/form_win.h"
#include "ui/gdi_win.h"

extern const unsigned char red_blue_jpg[];
extern const unsigned long long red_blue_jpg_size;
extern const unsigned char alpha_disc_png[];
extern const unsigned long long alpha_disc_png_size;

namespace sentavo::test {

inline std::span<const std::uint8_t> RedBlueJpeg() {
  return {red_blue_jpg, static_cast<std::size_t>(red_blue_jpg_size)};
}
inline std::span<const std::uint8_t> AlphaDiscPng() {
  return {alpha_disc_png, static_cast<std::size_t>(alpha_disc_png_size)};
}

// A top-level window to put the controls in. Hidden unless a test needs it on screen (focus,
// visibility): without a window manager, Wine takes two seconds to take a shown window away.
class HostForm : public ui::Form {
 public:
  explicit HostForm(bool show = false, ui::TColor color = ui::clBlack,
                    ui::Bounds bounds = {40, 40, 640, 480}) {
    ui::InitWindowLayer();
    ui::FormSpec desc;
    desc.caption = "Sentavo test host";
    desc.bounds = bounds;
    desc.centered = false;
    desc.color = color;
    CreateForm(desc);
    if (show) ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  }
  ~HostForm() override { Destroy(); }
};

// Pixels read back from a bitmap, 0x00BBGGRR each.
struct Snapshot {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t PixelAt(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
};

// The window's client area as WM_PRINTCLIENT paints it into a bitmap.
inline Snapshot Render(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  ui::DibCanvasTarget target(rc.right, rc.bottom);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.dc()), PRF_CLIENT);
  GdiFlush();
  Snapshot s{rc.right, rc.bottom, {}};
  for (int y = 0; y < rc.bottom; ++y) {
    for (int x = 0; x < rc.right; ++x) s.pixels.push_back(target.PixelAt(x, y));
  }
  return s;
}

inline std::string Hex(std::uint32_t c) {
  char buf[16];
  snprintf(buf, sizeof buf, "%02X,%02X,%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

inline bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    if (x - y > tolerance || y - x > tolerance) return false;
  }
  return true;
}

// A visible top-level window of this process whose class is `className` (a common dialog is
// "#32770"), or nullptr.
inline HWND FindOwnWindow(const wchar_t* className, HWND except = nullptr) {
  struct Search {
    const wchar_t* cls;
    HWND except;
    HWND found;
  } s{className, except, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        if (pid == GetCurrentProcessId() && h != s->except && IsWindowVisible(h) &&
            wcscmp(cls, s->cls) == 0) {
          s->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Waits up to 15 s for a window; nullptr when none came.
inline HWND WaitForOwnWindow(const wchar_t* className, HWND except = nullptr) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindOwnWindow(className, except)) != nullptr; }, 15s);
  return found;
}

// Runs `script` on a thread of its own while the test's thread sits in a modal dialog.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void()> script)
      : thread_([this, s = std::move(script)] {
          s();
          done_ = true;
        }) {}
  ~DialogDriver() { thread_.join(); }
  bool Done() const { return done_; }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

inline void Click(HWND dialog, int buttonId) {
  // As a person's click on the button: the dialog receives BN_CLICKED from it.
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

}  // namespace sentavo::test
