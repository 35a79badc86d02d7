// For bench/client.sh: `client_type_code CODE` types a code into the running lock window's code
// entry and presses Enter, as the driver of the end-to-end tests does; `client_type_code --notice`
// answers the client's notice box (the logon component, under Wine) and waits until the lock
// window is on the screen. X input cannot do that reliably: while the notice is up, Timer2 takes
// the pointer (and with it the keyboard focus) back to the code entry. Exit code 1 when there is
// no lock window (or it does not come up), 2 for bad arguments.
#include <windows.h>

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  if (std::wstring(argv[1]) == L"--notice") return AnswerNotice();
  const HWND window = FindWindowW(nullptr, kLockWindow);
  const HWND kod = window ? sentavo::e2e::FindControl(window, sentavo::client::ids::kKod) : nullptr;
  if (!kod) return 1;
  sentavo::e2e::SetText(kod, argv[1]);
  sentavo::e2e::TypeChar(kod, L'\r');
  return 0;
}
