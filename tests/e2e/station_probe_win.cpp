// For the guarded-station test script: looks at and drives the lock window that the installed
// guard service started (no test program started it, so the script cannot reach it otherwise),
// and plays a guest's own program on the guard's pipe.
//   station_probe window          waits up to 30 s for the lock window, answering its notices,
//                                 and prints the process number that shows it
//   station_probe led             prints the countdown display's text
//   station_probe type CODE       types the code into the code entry and presses Enter
//   station_probe logoff          clicks the guest's log-off button
//   station_probe stranger        opens the pipe as soon as it is free (within 30 s), sends a
//                                 hello and garbage; exit 0 when the guard drops it within 10 s
//                                 without sending a byte
// Exit code 1 when the window or the pipe is not there (or the stranger was served), 2 for bad
// arguments.
#include <windows.h>

#include <cstdio>
#include <string>

#include "client/lock_screen_texts.h"
#include "client/lock_window_ids.h"
#include "driver_win.h"
#include "formats/wide_win.h"
#include "guard/pipe_win.h"
#include "guard/protocol.h"

namespace {

using namespace sentavo;
using namespace std::chrono_literals;

e2e::ProcessWindow LockWindow() {
  return e2e::FindVisibleWindow(Widen(client::texts::kWindowCaption));
}

int Window() {
  e2e::ProcessWindow w;
  const bool shown = e2e::WaitUntil(
      [&] {
        // The notice of the logon component may come first, from the same process.
        EnumWindows(
            [](HWND hwnd, LPARAM) -> BOOL {
              DWORD pid = 0;
              GetWindowThreadProcessId(hwnd, &pid);
              if (e2e::Text(hwnd) == Widen(client::texts::kApplicationTitle))
                e2e::AnswerBoxesOf(pid);
              return TRUE;
            },
            0);
        w = LockWindow();
        return w.hwnd != nullptr;
      },
      30s);
  if (!shown) return 1;
  std::printf("%lu\n", w.pid);
  return 0;
}

int Led() {
  const e2e::ProcessWindow w = LockWindow();
  if (!w.hwnd) return 1;
  std::printf("%s\n", e2e::TextUtf8(e2e::FindControl(w.hwnd, client::ids::kOdpocetLED)).c_str());
  return 0;
}

int Type(const std::wstring& code) {
  const e2e::ProcessWindow w = LockWindow();
  const HWND kod = w.hwnd ? e2e::FindControl(w.hwnd, client::ids::kKod) : nullptr;
  if (!kod) return 1;
  e2e::SetText(kod, code);
  e2e::TypeChar(kod, L'\r');
  return 0;
}

int LogOff() {
  const e2e::ProcessWindow w = LockWindow();
  const HWND button = w.hwnd ? e2e::FindControl(w.hwnd, client::ids::kOdhlasitUseraBut) : nullptr;
  if (!button) return 1;
  e2e::Click(button);
  return 0;
}

// The guard serves one lock window at a time: the pipe is free only while none is connected.
int Stranger() {
  HANDLE pipe = INVALID_HANDLE_VALUE;
  e2e::WaitUntil(
      [&] {
        pipe = CreateFileW(guard::kPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
        return pipe != INVALID_HANDLE_VALUE;
      },
      30s);
  if (pipe == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "no pipe (error %lu)\n", GetLastError());
    return 1;
  }
  std::vector<std::uint8_t> bytes = guard::EncodeFrame(guard::ToGuard{guard::Hello{}});
  bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
  DWORD n = 0;
  WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  DWORD waiting = 0;
  const bool dropped = e2e::WaitUntil(
      [&] {
        waiting = 0;
        return !PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) || waiting > 0;
      },
      10s);
  CloseHandle(pipe);
  if (!dropped || waiting > 0) {
    std::fprintf(stderr,
                 dropped ? "the guard answered a stranger\n" : "the guard kept a stranger\n");
    return 1;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (argc == 2 && mode == L"window") return Window();
  if (argc == 2 && mode == L"led") return Led();
  if (argc == 3 && mode == L"type") return Type(argv[2]);
  if (argc == 2 && mode == L"logoff") return LogOff();
  if (argc == 2 && mode == L"stranger") return Stranger();
  std::fprintf(stderr, "usage: station_probe window | led | type CODE | logoff | stranger\n");
  return 2;
}
