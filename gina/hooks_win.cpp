#include "gina/hooks_win.h"

#include <wtsapi32.h>

#include <atomic>

#include "gina/hook_guard.h"

namespace sentavo::gina {
namespace {

constexpr UINT kWatchInterval = 2000;  // ms between re-installations of the hooks
constexpr UINT_PTR kWatchTimer = 1;
const wchar_t kWatchClass[] = L"LockGinaWatch";

std::atomic<HookClient*> gClient{nullptr};
std::atomic<UINT> gTaskbarCreated{0};

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wp, LPARAM lp) noexcept {
  HookClient* client = gClient.load();
  if (code == HC_ACTION && client) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    const bool up = (k->flags & LLKHF_UP) != 0;
    if (SwallowOrPass([&] { return client->OnInput(k->vkCode, up, false, POINT{}); })) return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// The button a mouse message is about, as a virtual-key code; 0 for moves and wheels.
std::uint32_t ButtonOf(WPARAM msg, const MSLLHOOKSTRUCT& m, bool* up) {
  *up = false;
  switch (msg) {
    case WM_LBUTTONUP: *up = true; [[fallthrough]];
    case WM_LBUTTONDOWN: return VK_LBUTTON;
    case WM_RBUTTONUP: *up = true; [[fallthrough]];
    case WM_RBUTTONDOWN: return VK_RBUTTON;
    case WM_MBUTTONUP: *up = true; [[fallthrough]];
    case WM_MBUTTONDOWN: return VK_MBUTTON;
    case WM_XBUTTONUP: *up = true; [[fallthrough]];
    case WM_XBUTTONDOWN: return HIWORD(m.mouseData) == XBUTTON1 ? VK_XBUTTON1 : VK_XBUTTON2;
    default: return 0;
  }
}

LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp) noexcept {
  HookClient* client = gClient.load();
  if (code == HC_ACTION && client) {
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    bool up = false;
    const std::uint32_t button = ButtonOf(wp, *m, &up);
    if (button != 0 && SwallowOrPass([&] { return client->OnInput(button, up, true, m->pt); }))
      return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK WatchProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  HookClient* client = gClient.load();
  const UINT taskbarCreated = gTaskbarCreated.load();
  if (client && taskbarCreated != 0 && msg == taskbarCreated) {
    RunGuarded([client] { client->OnWatch(); });
    return 0;
  }
  // A lock, an unlock, a switch of user or console: the keys let go meanwhile went elsewhere.
  if (client && msg == WM_WTSSESSION_CHANGE) {
    RunGuarded([client] { client->OnDesktopChange(); });
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Both hooks; a new pair goes in before the old pair comes out, so no key slips through.
struct Hooks {
  HHOOK keyboard = nullptr;
  HHOOK mouse = nullptr;

  bool Renew(HMODULE module) {
    const HHOOK k = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, module, 0);
    const HHOOK m = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, module, 0);
    if (k) {
      if (keyboard) UnhookWindowsHookEx(keyboard);
      keyboard = k;
    }
    if (m) {
      if (mouse) UnhookWindowsHookEx(mouse);
      mouse = m;
    }
    return keyboard && mouse;
  }
  void Remove() {
    if (keyboard) UnhookWindowsHookEx(keyboard);
    if (mouse) UnhookWindowsHookEx(mouse);
    keyboard = mouse = nullptr;
  }
};

}  // namespace

bool HookThread::Start() {
  if (thread_) return hooked_;
  started_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!started_) return false;
  thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_);
  if (thread_) WaitForSingleObject(started_, 5000);
  CloseHandle(started_);
  started_ = nullptr;
  return thread_ != nullptr && hooked_;
}

void HookThread::Stop() {
  if (!thread_) return;
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_, 5000);
  CloseHandle(thread_);
  thread_ = nullptr;
  threadId_ = 0;
  hooked_ = false;
  watching_ = false;
}

// The thread holds its own reference to the library and gives it back as its last act, so a
// FreeLibrary of the program cannot unmap the code the hooks run.
DWORD WINAPI HookThread::ThreadMain(void* self) {
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&ThreadMain),
                     &pinned);
  static_cast<HookThread*>(self)->Run();
  FreeLibraryAndExitThread(pinned, 0);
}

void HookThread::Run() {
  const HMODULE module = ThisModule();
  gClient = &client_;
  gTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WatchProc;
  wc.hInstance = module;
  wc.lpszClassName = kWatchClass;
  RegisterClassExW(&wc);
  // A hidden top-level window: message-only windows do not hear broadcasts.
  const HWND watch =
      CreateWindowExW(0, kWatchClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, module, nullptr);
  if (watch) {
    ChangeWindowMessageFilterEx(watch, gTaskbarCreated, MSGFLT_ALLOW, nullptr);
    WTSRegisterSessionNotification(watch, NOTIFY_FOR_THIS_SESSION);
  }

  Hooks hooks;
  hooked_ = hooks.Renew(module);
  if (hooked_) RunGuarded([this] { client_.OnHooksStarted(); });
  watching_ = watch && SetTimer(watch, kWatchTimer, kWatchInterval, nullptr) != 0;
  SetEvent(started_);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == watch && msg.wParam == kWatchTimer) {
      hooked_ = hooks.Renew(module);
      RunGuarded([this] { client_.OnWatch(); });
      continue;
    }
    DispatchMessageW(&msg);
  }
  watching_ = false;
  hooks.Remove();
  if (watch) {
    WTSUnRegisterSessionNotification(watch);
    DestroyWindow(watch);
  }
  UnregisterClassW(kWatchClass, module);
  gClient = nullptr;
}

}  // namespace sentavo::gina
