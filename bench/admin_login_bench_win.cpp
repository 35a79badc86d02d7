// Prints how long SentavoAdmin.exe takes from "Ověřit kód" to its code-management window when the
// login loads a codes.dat of 100 000 names, and the program's peak working set afterwards (not a
// test). Run in a working folder holding that codes.dat and no Sentavo.cfg.
#include <windows.h>
// clang-format off
#include <psapi.h>
// clang-format on

#include <chrono>
#include <cstdio>
#include <future>

#include "administration/admin_ids.h"
#include "driver_win.h"
#include "formats/wide_win.h"

int wmain(int argc, wchar_t** argv) {
  using namespace sentavo::e2e;
  if (argc != 2) return 2;
  wchar_t folder[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, folder);
  Program admin(sentavo::Narrow(argv[1]), {}, sentavo::Narrow(folder));
  if (const auto box = WaitForMessageBox(admin)) Answer(*box);  // the default-password warning
  const HWND login = admin.WaitForTopWindow(L"Sentavo - Admin");
  if (!login) return 1;
  SetText(FindControl(login, sentavo::admin::ids::kAdminPass), L"vamor");
  const HWND button = FindControl(login, sentavo::admin::ids::kOveritKodBut);
  const auto start = std::chrono::steady_clock::now();
  auto click = std::async(std::launch::async, [button] { Click(button); });
  const HWND codes = admin.WaitForTopWindow(L"Správa uživatelských kódů", 60s);
  const auto shown = std::chrono::steady_clock::now();
  click.wait();
  const HWND list = codes ? FindControl(codes, sentavo::admin::ids::kVydane) : nullptr;
  const auto count = list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : -1;
  PROCESS_MEMORY_COUNTERS memory{};
  if (HANDLE process =
          OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, admin.pid())) {
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    CloseHandle(process);
  }
  std::printf("SentavoAdmin.exe: login loading %lld names in %.0f ms; peak working set %.1f MB\n",
              static_cast<long long>(count),
              std::chrono::duration<double, std::milli>(shown - start).count(),
              static_cast<double>(memory.PeakWorkingSetSize) / 1e6);
  return codes ? 0 : 1;
}
