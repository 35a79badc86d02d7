#include "guard/pipe_link_win.h"

#include <utility>

#include "guard/pipe_win.h"
#include "guard/protocol.h"

namespace sentavo::guard {
namespace {

// A guard that does not take our frames within this time is given up, so that the window never
// hangs on it.
constexpr DWORD kWriteTimeoutMs = 2000;
constexpr DWORD kReconnectEveryMs = 500;

// The guard's own identity is not asked for our token: it may only identify the caller.
HANDLE OpenPipe(bool waitWhileBusy) {
  for (;;) {
    HANDLE h = CreateFileW(kPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    if (GetLastError() != ERROR_PIPE_BUSY || !waitWhileBusy) return INVALID_HANDLE_VALUE;
    WaitNamedPipeW(kPipeName, 1000);
  }
}

}  // namespace

std::unique_ptr<PipeLink> PipeLink::Connect(DWORD waitForPipeMs) {
  const ULONGLONG until = GetTickCount64() + waitForPipeMs;
  HANDLE pipe = OpenPipe(/*waitWhileBusy=*/true);
  while (pipe == INVALID_HANDLE_VALUE && GetTickCount64() < until) {
    Sleep(100);
    pipe = OpenPipe(/*waitWhileBusy=*/true);
  }
  if (pipe == INVALID_HANDLE_VALUE) return nullptr;
  return std::unique_ptr<PipeLink>(new PipeLink(pipe));
}

PipeLink::PipeLink(HANDLE pipe)
    : pipe_(pipe),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      reader_([this] { ReadLoop(); }) {}

PipeLink::~PipeLink() {
  stopping_ = true;
  SetEvent(stop_);
  reader_.join();
  CloseCurrent();
  CloseHandle(stop_);
}

void PipeLink::Wake(HWND window, UINT message) {
  message_ = message;
  window_ = window;
  PostMessageW(window, message, 0, 0);
}

void PipeLink::Send(std::vector<std::uint8_t> frame) {
  std::lock_guard lock(mutex_);
  if (pipe_ == INVALID_HANDLE_VALUE) return;  // the guard is away; it sends everything anew
  if (!WriteAll(pipe_, frame, kWriteTimeoutMs)) {
    CloseHandle(std::exchange(pipe_, INVALID_HANDLE_VALUE));
  }
}

std::optional<std::vector<std::uint8_t>> PipeLink::Receive() {
  std::lock_guard lock(mutex_);
  if (inbox_.empty()) return std::nullopt;
  std::vector<std::uint8_t> body = std::move(inbox_.front());
  inbox_.pop_front();
  return body;
}

void PipeLink::Drop() {
  CloseCurrent();
}

void PipeLink::CloseCurrent() {
  std::lock_guard lock(mutex_);
  inbox_.clear();
  if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(pipe_, INVALID_HANDLE_VALUE));
}

void PipeLink::ReadLoop() {
  std::vector<std::uint8_t> buffer(64 * 1024);
  FrameReader reader;
  Event done;
  auto wake = [this] {
    if (HWND w = window_.load()) PostMessageW(w, message_.load(), 0, 0);
  };
  while (!stopping_) {
    HANDLE pipe;
    {
      std::lock_guard lock(mutex_);
      pipe = pipe_;
    }
    if (pipe == INVALID_HANDLE_VALUE) {
      if (WaitForSingleObject(stop_, kReconnectEveryMs) == WAIT_OBJECT_0) return;
      HANDLE again = OpenPipe(/*waitWhileBusy=*/false);
      if (again == INVALID_HANDLE_VALUE) continue;
      {
        std::lock_guard lock(mutex_);
        pipe_ = again;
        inbox_.clear();
      }
      reader = FrameReader{};
      reconnected_ = true;
      wake();
      continue;
    }
    OVERLAPPED ov{};
    ov.hEvent = done.get();
    ResetEvent(done.get());
    if (!ReadFile(pipe, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &ov) &&
        GetLastError() != ERROR_IO_PENDING) {
      CloseCurrent();
      continue;
    }
    const HANDLE waits[] = {done.get(), stop_};
    DWORD got = 0;
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
      CancelIoEx(pipe, &ov);
      GetOverlappedResult(pipe, &ov, &got, TRUE);
      return;
    }
    if (!GetOverlappedResult(pipe, &ov, &got, FALSE) || got == 0) {
      CloseCurrent();
      continue;
    }
    reader.Feed(std::span(buffer.data(), got));
    bool arrived = false;
    while (std::optional<std::vector<std::uint8_t>> body = reader.Next()) {
      std::lock_guard lock(mutex_);
      inbox_.push_back(std::move(*body));
      arrived = true;
    }
    if (reader.broken()) CloseCurrent();
    if (arrived) wake();
  }
}

}  // namespace sentavo::guard
