// The guest's notices ("Sentavo - upozornění"): a small topmost window in the bottom-right corner
// of every monitor that never takes the keyboard focus from the guest's program. It shows a text
// and, when asked, the countdown live beneath it; it goes after its time or at a click. A new
// notice takes the place of the one still shown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/requests.h"

namespace sentavo::client {

class Notices {
 public:
  Notices() = default;
  Notices(const Notices&) = delete;
  Notices& operator=(const Notices&) = delete;
  ~Notices() { CloseAll(); }

  void Show(const ui::NoticeRequest& request, const std::string& countdown);
  // The countdown display changed: the notices that show it follow.
  void UpdateCountdown(const std::string& countdown);
  void CloseAll();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Forget(HWND hwnd);

  std::vector<HWND> windows_;
  HFONT textFont_ = nullptr;
  HFONT countdownFont_ = nullptr;
};

}  // namespace sentavo::client
