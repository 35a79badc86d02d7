// The time from Enter in the lock window's code entry to the answer on screen: a code that does not
// exist, typed N times, until InfoLabel says so (for bench/guard.sh, with and without the guard).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "client/lock_screen_texts.h"
#include "client/lock_window_ids.h"
#include "driver_win.h"
#include "formats/wide_win.h"

int wmain(int argc, wchar_t** argv) {
  namespace e2e = sentavo::e2e;
  namespace ids = sentavo::client::ids;
  const int rounds = argc > 1 ? _wtoi(argv[1]) : 4;
  const HWND window = FindWindowW(nullptr, L"Sentavo - Client - Korvalen");
  const HWND kod = window ? e2e::FindControl(window, ids::kKod) : nullptr;
  const HWND info = window ? e2e::FindControl(window, ids::kInfoLabel) : nullptr;
  if (!kod || !info) return 1;
  const std::wstring missing = sentavo::Widen(sentavo::client::texts::kCodeMissing);
  double total = 0, longest = 0;
  for (int i = 0; i < rounds; ++i) {
    e2e::SetText(info, L"");
    e2e::SetText(kod, L"neexistuje" + std::to_wstring(i));
    const auto start = std::chrono::steady_clock::now();
    e2e::TypeChar(kod, L'\r');
    if (!e2e::WaitUntil([&] { return e2e::Text(info) == missing; }, std::chrono::seconds(5)))
      return 1;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    total += ms;
    longest = ms > longest ? ms : longest;
  }
  std::printf("Enter to the answer on screen: mean %.1f ms, longest %.1f ms over %d codes\n",
              total / rounds, longest, rounds);
  return 0;
}
