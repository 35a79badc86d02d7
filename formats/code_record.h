// TCodeRecord: the 5728-byte record of one unlock code, the whole content of its code file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "formats/rights.h"

namespace sentavo {

inline constexpr std::size_t kCodeRecordSize = 5728;
using CodeRecordBytes = std::array<std::uint8_t, kCodeRecordSize>;

inline constexpr std::int32_t kCodeTypeOnce = 0;   // "Jednorázový"
inline constexpr std::int32_t kCodeTypeDaily = 1;  // "Denní"

struct TCodeRecord {
  RightsSet rights{};
  bool reusable = false;
  bool active = false;
  std::array<std::uint8_t, 3> reserved17{};
  std::int32_t secondsLeft = 0;
  std::string establishment;  // UTF-8 here, Windows-1250 in the file
  double validFromDate = 0;   // only the date part counts
  double validToDate = 0;     // only the date part counts
  double validFromTime = 0;   // only the time of day counts
  double validToTime = 0;     // only the time of day counts
  double lastUse = 0;
  std::int32_t codeType = kCodeTypeOnce;
  std::int32_t dailySeconds = 0;
  std::array<std::uint8_t, 7> reserved328{};  // the administration program writes 1 into each
  bool loggedIn = false;
  std::array<std::uint8_t, 20> reserved336{};
  std::string validFromDateText;
  std::string validFromTimeText;
  std::array<std::uint8_t, 1792> reserved868{};
  std::string validToDateText;
  std::string validToTimeText;
  std::array<std::uint8_t, 2548> reserved3172{};
  double created = 0;

  bool operator==(const TCodeRecord&) const = default;
};

// Reads the first 5728 bytes; empty when fewer are given, so a short file is never half used.
std::optional<TCodeRecord> DecodeCodeRecord(std::span<const std::uint8_t> bytes);

// Throws TextEncodingError when a text has a character outside Windows-1250.
CodeRecordBytes EncodeCodeRecord(const TCodeRecord& record);

}  // namespace sentavo
