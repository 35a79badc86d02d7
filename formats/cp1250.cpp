#include "formats/cp1250.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace sentavo {
namespace {

// Unicode for bytes 0x80..0xFF; bytes below 0x80 are ASCII.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

constexpr char32_t kMalformed = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 character at `pos` and advances `pos`; kMalformed for any invalid sequence
// (overlong forms, surrogates, truncation), advancing by one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t b0 = byte(pos);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  std::size_t len = 0;
  char32_t c = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    ++pos;
    return kMalformed;
  }
  if (pos + len > s.size()) {
    ++pos;
    return kMalformed;
  }
  for (std::size_t i = 1; i < len; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return kMalformed;
    }
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++pos;
    return kMalformed;
  }
  pos += len;
  return c;
}

std::optional<std::uint8_t> EncodeChar(char32_t c) {
  if (c < 0x80) return static_cast<std::uint8_t>(c);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == c) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

std::string Cp1250ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{kHighHalf[b - 0x80]});
  }
  return out;
}

std::size_t AppendCp1250LineAsUtf8(std::string& out, std::string_view bytes) {
  std::size_t ascii = 0;  // the start of the run of ASCII bytes not yet appended
  std::size_t i = 0;
  for (; i < bytes.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    if (b == '\r' || b == '\n') break;
    if (b >= 0x80) {
      out.append(bytes.data() + ascii, i - ascii);
      AppendUtf8(out, kHighHalf[b - 0x80]);
      ascii = i + 1;
    }
  }
  out.append(bytes.data() + ascii, i - ascii);
  return i;
}

std::string Utf8ToCp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendUtf8AsCp1250(out, utf8);
  return out;
}

void AppendUtf8AsCp1250(std::string& out, std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(utf8, pos);
    const auto b = c == kMalformed ? std::nullopt : EncodeChar(c);
    if (!b) {
      throw TextEncodingError(c == kMalformed
                                  ? "malformed UTF-8 at byte " + std::to_string(start)
                                  : "character " + CodePointName(c) + " has no Windows-1250 form",
                              c);
    }
    out += static_cast<char>(*b);
  }
}

std::optional<char32_t> FirstUnencodable(std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, pos);
    if (c == kMalformed || !EncodeChar(c)) return c;
  }
  return std::nullopt;
}

std::string CutToChars(std::string_view utf8, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < maxChars && pos < utf8.size(); ++n) NextCodePoint(utf8, pos);
  return std::string(utf8.substr(0, pos));
}

std::string CodePointName(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

}  // namespace sentavo
