// For bench/client.sh: `client_type_code CODE` types a code into the running lock window's code
// entry and presses Enter, as the driver of the end-to-end tests does; `client_type_code --notice`
// answers the client's notice box (the logon component, under Wine) and waits until the lock
// window is on the screen; `client_type_code --time CODE` types the code as well and prints the
// milliseconds from Enter to the countdown shown in place of "LOCKED" (with the guard, that is the
// round trip through its pipe). X input cannot do that reliably: while the notice is up, Timer2
// takes the pointer (and with it the keyboard focus) back to the code entry. Exit code 1 when there
// is no lock window (or it does not come up), 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <string>

#include "client/lock_screen_texts.h"
#include "client/lock_window_ids.h"
#include "driver_win.h"
#include "formats/wide_win.h"

namespace {

constexpr wchar_t kLockWindow[] = L"Sentavo - Client - Korvalen";

int AnswerNotice() {
  const std::wstring title = sentavo::Widen(sentavo::client::texts::kApplicationTitle);
  for (int tries = 0; tries < 1000; ++tries) {  // 10 s
    const HWND lock = FindWindowW(nullptr, kLockWindow);
    if (lock && IsWindowVisible(lock)) return 0;
    if (const HWND box = FindWindowW(L"#32770", title.c_str()); box && IsWindowVisible(box)) {
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
    Sleep(10);
  }
  return 1;
}

// Enter to the first change of the countdown display, with a ten-second limit.
int TimeUnlock(HWND window, HWND kod, const std::wstring& code) {
  const HWND led = sentavo::e2e::FindControl(window, sentavo::client::ids::kOdpocetLED);
  const std::wstring before = sentavo::e2e::Text(led);
  LARGE_INTEGER hz, start, now;
  QueryPerformanceFrequency(&hz);
  sentavo::e2e::SetText(kod, code);
  QueryPerformanceCounter(&start);
  sentavo::e2e::TypeChar(kod, L'\r');
  do {
    QueryPerformanceCounter(&now);
    if (sentavo::e2e::Text(led) != before) {
      std::printf("%.1f\n", static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
                                static_cast<double>(hz.QuadPart));
      return 0;
    }
    Sleep(1);
  } while (now.QuadPart - start.QuadPart < 10 * hz.QuadPart);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--notice") return AnswerNotice();
  const bool timed = argc == 3 && std::wstring(argv[1]) == L"--time";
  if (argc != 2 && !timed) return 2;
  const HWND window = FindWindowW(nullptr, kLockWindow);
  const HWND kod = window ? sentavo::e2e::FindControl(window, sentavo::client::ids::kKod) : nullptr;
  if (!kod) return 1;
  if (timed) return TimeUnlock(window, kod, argv[2]);
  sentavo::e2e::SetText(kod, argv[1]);
  sentavo::e2e::TypeChar(kod, L'\r');
  return 0;
}
