// SentavoGuard's work, the same as a service and in the console: the lock screen's session, the
// pipe it serves one lock window at a time, the per-second tick, and the lock window kept running
// in the user's session (started at logon and again within a second of its death).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace sentavo::guard {

// Where the guard's records go: the event log, and in the console also the screen.
using GuardLog = std::function<void(WORD eventType, std::string_view text)>;

struct GuardOptions {
  // As a service the lock window is started in the active console session under its user's
  // token; in the console it is started as the guard's own user.
  bool service = false;
  GuardLog log;
};

class GuardHost {
 public:
  explicit GuardHost(GuardOptions options);
  ~GuardHost();
  GuardHost(const GuardHost&) = delete;
  GuardHost& operator=(const GuardHost&) = delete;

  // Runs until `stop` is signalled; then the lock window is told to end. 0, or 1 when the pipe
  // could not be made (another guard runs).
  int Run(HANDLE stop);
  // A user logged on (a new session begins with a new lock screen) or off (the lock screen ends).
  // Safe from any thread.
  void OnLogon();
  void OnLogoff();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sentavo::guard
