// Little-endian field access at fixed offsets, independent of the compiler's struct layout.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sentavo::binio {

inline std::uint64_t GetUnsigned(std::span<const std::uint8_t> b, std::size_t off, int size) {
  std::uint64_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | b[off + static_cast<std::size_t>(i)];
  return v;
}

inline void PutUnsigned(std::span<std::uint8_t> b, std::size_t off, int size, std::uint64_t v) {
  for (int i = 0; i < size; ++i, v >>= 8) b[off + static_cast<std::size_t>(i)] = v & 0xFF;
}

inline bool GetBool(std::span<const std::uint8_t> b, std::size_t off) {
  return b[off] != 0;
}
inline void PutBool(std::span<std::uint8_t> b, std::size_t off, bool v) {
  b[off] = v ? 1 : 0;
}

inline std::int32_t GetInt32(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetUnsigned(b, off, 4)));
}
inline void PutInt32(std::span<std::uint8_t> b, std::size_t off, std::int32_t v) {
  PutUnsigned(b, off, 4, static_cast<std::uint32_t>(v));
}

inline double GetDouble(std::span<const std::uint8_t> b, std::size_t off) {
  return std::bit_cast<double>(GetUnsigned(b, off, 8));
}
inline void PutDouble(std::span<std::uint8_t> b, std::size_t off, double v) {
  PutUnsigned(b, off, 8, std::bit_cast<std::uint64_t>(v));
}

// A 256-byte text field: a length byte, then that many Windows-1250 bytes; the rest is ignored.
inline constexpr std::size_t kTextFieldSize = 256;
inline constexpr std::size_t kMaxTextLength = 255;

std::string GetText(std::span<const std::uint8_t> b, std::size_t off);  // returns UTF-8
// Cuts to 255 characters, zeroes the bytes behind the text; throws TextEncodingError.
void PutText(std::span<std::uint8_t> b, std::size_t off, std::string_view utf8);

}  // namespace sentavo::binio
