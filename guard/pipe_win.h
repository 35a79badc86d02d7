// The guard's named pipe, as both ends open it: overlapped handles, so that one thread can wait
// for bytes while another writes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace sentavo::guard {

inline constexpr wchar_t kPipeName[] = L"\\\\.\\pipe\\SentavoGuard";

// A manual-reset event, closed when destroyed.
class Event {
 public:
  Event() : h_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Event() {
    if (h_) CloseHandle(h_);
  }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// Writes all of `bytes` to an overlapped handle, waiting at most `timeoutMs`; a peer that does
// not read in that time is given up (the write is cancelled). False when not all was written.
inline bool WriteAll(HANDLE pipe, std::span<const std::uint8_t> bytes, DWORD timeoutMs) {
  Event done;
  while (!bytes.empty()) {
    OVERLAPPED ov{};
    ov.hEvent = done.get();
    ResetEvent(done.get());
    DWORD written = 0;
    if (!WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &ov)) {
      if (GetLastError() != ERROR_IO_PENDING) return false;
      if (WaitForSingleObject(done.get(), timeoutMs) != WAIT_OBJECT_0) {
        CancelIoEx(pipe, &ov);
        GetOverlappedResult(pipe, &ov, &written, TRUE);
        return false;
      }
    }
    if (!GetOverlappedResult(pipe, &ov, &written, TRUE) || written == 0) return false;
    bytes = bytes.subspan(written);
  }
  return true;
}

}  // namespace sentavo::guard
