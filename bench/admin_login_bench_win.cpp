// Prints how long SentavoAdmin.exe takes from "Ověřit kód" to its code-management window when the
// login loads a codes.dat of 100 000 names, and the program's peak working set then against its
// working set while the login window waits for the password, in the same run (not a test). Run in
// a working folder holding that codes.dat and no Sentavo.cfg.
//
// The program fills the list before it shows the window, so the window on the screen has its
// rows. It hides the login window after that; under Xvfb, without a window manager, Wine then
// waits two seconds for the X server to withdraw it, so the time until the program answers again
// is given apart.
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

namespace {

PROCESS_MEMORY_COUNTERS MemoryOf(DWORD pid) {
  PROCESS_MEMORY_COUNTERS memory{};
  if (HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid)) {
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    CloseHandle(process);
  }
  return memory;
}

double Megabytes(SIZE_T bytes) {
  return static_cast<double>(bytes) / 1e6;
}

// The program's visible top-level window titled `title`, looked for without a message to the
// program (GetWindowTextW reads another process's caption itself), so a busy program does not
// hold the look up.
HWND WaitUntilShown(const sentavo::e2e::Program& program, const std::wstring& title) {
  using namespace std::chrono_literals;
  const auto end = std::chrono::steady_clock::now() + 120s;
  while (std::chrono::steady_clock::now() < end) {
    for (HWND hwnd : program.TopWindows()) {
      wchar_t caption[128] = {};
      if (IsWindowVisible(hwnd) && GetWindowTextW(hwnd, caption, 128) && title == caption) {
        return hwnd;
      }
    }
    Sleep(5);
  }
  return nullptr;
}

double MillisecondsBetween(std::chrono::steady_clock::time_point from,
                           std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

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
  // Once the login window's thread answers, the window is up and waits for the operator.
  SendMessageW(login, WM_NULL, 0, 0);
  const PROCESS_MEMORY_COUNTERS atLogin = MemoryOf(admin.pid());
  const HWND button = FindControl(login, sentavo::admin::ids::kOveritKodBut);
  const auto start = std::chrono::steady_clock::now();
  auto click = std::async(std::launch::async, [button] { Click(button); });
  const HWND codes = WaitUntilShown(admin, L"Správa uživatelských kódů");
  const auto shown = std::chrono::steady_clock::now();
  // Done with the login, the login window hidden too: the program takes input again.
  if (codes) SendMessageW(codes, WM_NULL, 0, 0);
  const auto answering = std::chrono::steady_clock::now();
  click.wait();
  const HWND list = codes ? FindControl(codes, sentavo::admin::ids::kVydane) : nullptr;
  if (list) UpdateWindow(list);
  const auto count = list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : -1;
  const PROCESS_MEMORY_COUNTERS after = MemoryOf(admin.pid());
  const double baseline = Megabytes(atLogin.WorkingSetSize);
  const double peak = Megabytes(after.PeakWorkingSetSize);
  std::printf(
      "SentavoAdmin.exe: login loading %lld names: code window shown in %.0f ms (the "
      "program answering again in %.0f ms); login window's working set %.1f MB, peak "
      "working set %.1f MB (%.2f x the login window's)\n",
      static_cast<long long>(count), MillisecondsBetween(start, shown),
      MillisecondsBetween(start, answering), baseline, peak, baseline > 0 ? peak / baseline : 0.0);
  return codes ? 0 : 1;
}
