// The lock window's end of the guard's pipe. A thread of its own waits for the guard's bytes,
// cuts them into frames and wakes the window; the window's thread sends and takes frames. When
// the pipe breaks (the guard restarted) the thread connects again, and the window says Hello anew.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "guard/remote_lock_screen.h"

namespace sentavo::guard {

class PipeLink final : public GuardLink {
 public:
  // Connected to the guard, or empty when no guard runs on this machine (no pipe): the lock
  // window then runs its model itself. A pipe that exists but is busy is waited for; a window that
  // the guard started waits up to `waitForPipeMs` for a pipe that is not there yet.
  static std::unique_ptr<PipeLink> Connect(DWORD waitForPipeMs);
  ~PipeLink() override;
  PipeLink(const PipeLink&) = delete;
  PipeLink& operator=(const PipeLink&) = delete;

  // The window woken (posted `message`) whenever frames have arrived.
  void Wake(HWND window, UINT message);

  void Send(std::vector<std::uint8_t> frame) override;
  std::optional<std::vector<std::uint8_t>> Receive() override;
  bool Reconnected() override { return reconnected_.exchange(false); }
  void Drop() override;

 private:
  explicit PipeLink(HANDLE pipe);
  void ReadLoop();
  void CloseCurrent();

  std::mutex mutex_;  // pipe_ and inbox_
  HANDLE pipe_;
  std::deque<std::vector<std::uint8_t>> inbox_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<UINT> message_{0};
  std::atomic<bool> reconnected_{false};
  std::atomic<bool> stopping_{false};
  HANDLE stop_;
  std::thread reader_;
};

}  // namespace sentavo::guard
