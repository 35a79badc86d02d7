// The messages between SentavoGuard and the lock window on its pipe, and their bytes.
//
// A frame is a 4-byte little-endian length, then that many bytes: the protocol version, the
// message type and the message's fields. Numbers are little-endian, a Boolean is one byte 0 or 1,
// a text is a 4-byte length and that many bytes of UTF-8. Whatever comes from the other end is
// hostile: every length is capped, every number range-checked, every text checked as UTF-8, and
// a frame that is not exactly one whole message of this version decodes to nothing.
//
// There is nothing here that reads or writes a file, returns a password or sets a time: the lock
// window sends what the guest did, the guard sends what to show and what to do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "client/lock_events.h"
#include "client/lock_screen_view.h"
#include "client/ports.h"
#include "ui/requests.h"

namespace sentavo::guard {

inline constexpr std::uint8_t kProtocolVersion = 2;
// The largest frame either end sends or takes, header included; a larger one ends the connection.
inline constexpr std::size_t kMaxFrameBytes = 128 * 1024;
// The longest text in a message; a window's edit may hold more, which is cut before it is sent.
inline constexpr std::size_t kMaxTextBytes = 4096;
// The most requests in one message.
inline constexpr std::size_t kMaxRequests = 256;

// ---- From the lock window to the guard.

// The first message of every connection; nothing else is taken before it.
struct Hello {
  bool operator==(const Hello&) const = default;
};
using ToGuard = std::variant<Hello, client::LockEvent>;

// ---- From the guard to the lock window.

// Everything the window shows.
struct ViewMessage {
  client::LockScreenView view;
  bool operator==(const ViewMessage&) const = default;
};
// What the window does beyond showing, in order.
struct RequestsMessage {
  ui::Requests requests;
  bool operator==(const RequestsMessage&) const = default;
};
// One of the sixteen switches of the system-lock component, to be applied in the session, where
// the library's hooks must live.
struct SwitchMessage {
  std::uint8_t index = 0;  // below kSwitchCount
  bool value = false;
  bool operator==(const SwitchMessage&) const = default;
};
struct RestoreAllMessage {
  bool operator==(const RestoreAllMessage&) const = default;
};
// The model moves the pointer back onto the code entry.
struct MovePointerMessage {
  client::ScreenPoint target;
  std::int32_t steps = 1;
  std::int32_t delayMs = 0;
  bool operator==(const MovePointerMessage&) const = default;
};
using ToClient = std::variant<ViewMessage, RequestsMessage, SwitchMessage, RestoreAllMessage,
                              MovePointerMessage>;

// Whole frames, header included. A text longer than kMaxTextBytes is cut at a character boundary.
std::vector<std::uint8_t> EncodeFrame(const ToGuard& message);
std::vector<std::uint8_t> EncodeFrame(const ToClient& message);

// `body` is a frame without its 4-byte header (as FrameReader gives it).
std::optional<ToGuard> DecodeToGuard(std::span<const std::uint8_t> body);
std::optional<ToClient> DecodeToClient(std::span<const std::uint8_t> body);

// Cuts a byte stream into frame bodies. Once a header announces a frame shorter than a version and
// a type or longer than kMaxFrameBytes, the stream is broken for good: the connection must go.
class FrameReader {
 public:
  void Feed(std::span<const std::uint8_t> bytes);
  // The next whole frame body, if one has arrived.
  std::optional<std::vector<std::uint8_t>> Next();
  bool broken() const { return broken_; }
  // Bytes received and not yet taken as a frame.
  std::size_t pending() const { return buffer_.size() - start_; }

 private:
  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;
  bool broken_ = false;
};

}  // namespace sentavo::guard
