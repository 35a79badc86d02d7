// The thread that owns lockgina.dll's low-level keyboard and mouse hooks. A hook lives only as
// long as its thread pumps messages quickly, so the hooks get a thread of their own that does
// nothing else; Windows also drops a hook that once missed its time-out without saying so, so a
// watchdog on the same thread installs them afresh every few seconds. The thread also hears
// "TaskbarCreated" for the library.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace sentavo::gina {

class HookClient {
 public:
  virtual ~HookClient() = default;
  // A key press or release, or a mouse button (1 left, 2 right, 4 middle, 5 and 6 the side
  // buttons) with the cursor position; true swallows it. Runs inside the hook: must be quick.
  virtual bool OnInput(std::uint32_t vk, bool up, bool mouse, POINT cursor) = 0;
  // The hooks have just been installed.
  virtual void OnHooksStarted() = 0;
  // Every watchdog tick and every start of a new taskbar.
  virtual void OnWatch() = 0;
  // The session was locked, unlocked or switched, or its desktop changed.
  virtual void OnDesktopChange() = 0;
};

class HookThread {
 public:
  explicit HookThread(HookClient& client) : client_(client) {}
  HookThread(const HookThread&) = delete;
  HookThread& operator=(const HookThread&) = delete;

  // Starts the thread unless it runs; true when the hooks are in place. Never call it while
  // holding a lock that OnInput takes.
  bool Start();
  // Ends the thread and removes the hooks. Same rule as Start; never from DllMain.
  void Stop();
  bool Running() const { return thread_ != nullptr && hooked_; }
  // Whether the watchdog's rounds come (the thread runs and its timer is set).
  bool Watching() const { return thread_ != nullptr && watching_; }

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();

  HookClient& client_;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HANDLE started_ = nullptr;
  std::atomic<bool> hooked_{false};
  std::atomic<bool> watching_{false};
};

}  // namespace sentavo::gina
