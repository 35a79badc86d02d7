// Waiting in the Windows tests, in one place: delivering the test thread's own messages for a
// while or until something holds (timers, hooks and windows of this thread need the pump), and
// polling for what another thread or program brings about (no pump: the thread may own nothing).
// Every wait has a bound, generous enough for a loaded machine, and says whether it was met: a
// test asserts that, it never sleeps a fixed time and hopes.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

namespace sentavo::test {

using namespace std::chrono_literals;

// Delivers the calling thread's messages for `duration`.
inline void Pump(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (std::chrono::steady_clock::now() < end);
}

// Delivers the calling thread's messages until `done` holds or `timeout` passes; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Pump(10ms);
  }
  return true;
}

// Polls `ready` until it holds or `timeout` passes, without handling messages; whether it held.
inline bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout = 10s) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!ready()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

}  // namespace sentavo::test
