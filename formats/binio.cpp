#include "formats/binio.h"

#include <algorithm>

#include "formats/cp1250.h"

namespace sentavo::binio {

std::string GetText(std::span<const std::uint8_t> b, std::size_t off) {
  const std::size_t len = b[off];
  const auto* first = reinterpret_cast<const char*>(b.data() + off + 1);
  return Cp1250ToUtf8(std::string_view(first, len));
}

void PutText(std::span<std::uint8_t> b, std::size_t off, std::string_view utf8) {
  // Windows-1250 has one byte per character, so cutting characters first keeps a character that
  // would be cut off anyway from failing the save.
  const std::string bytes = Utf8ToCp1250(CutToChars(utf8, kMaxTextLength));
  std::fill_n(b.begin() + static_cast<std::ptrdiff_t>(off), kTextFieldSize, std::uint8_t{0});
  b[off] = static_cast<std::uint8_t>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(off + 1));
}

}  // namespace sentavo::binio
