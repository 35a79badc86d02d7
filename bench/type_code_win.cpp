// Types a code into the running lock window's code entry and presses Enter, as the driver of the
// end-to-end tests does (for bench/client.sh). Exit code 1 when there is no lock window.
#include <windows.h>

#include "client/lock_window_ids.h"
#include "driver_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const HWND window = FindWindowW(nullptr, L"Sentavo - Client - Korvalen");
  const HWND kod = window ? sentavo::e2e::FindControl(window, sentavo::client::ids::kKod) : nullptr;
  if (!kod) return 1;
  sentavo::e2e::SetText(kod, argv[1]);
  sentavo::e2e::TypeChar(kod, L'\r');
  return 0;
}
