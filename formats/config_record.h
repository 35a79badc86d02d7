// TConfigRecord: the 1040-byte content of Sentavo.cfg, and the client's rules for reading it into
// its settings controls and writing them back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "formats/rights.h"

namespace sentavo {

inline constexpr std::size_t kConfigRecordSize = 1040;
using ConfigRecordBytes = std::array<std::uint8_t, kConfigRecordSize>;

struct TConfigRecord {
  bool asFrontApp = false;
  RightsSet rights{};
  std::string adminPassword;  // UTF-8 here, Windows-1250 in the file
  std::string establishment;
  std::string serverPath;
  std::string backgroundFile;

  bool operator==(const TConfigRecord&) const = default;
};

// Empty when fewer than 1040 bytes are given: a short file is never half used.
std::optional<TConfigRecord> DecodeConfigRecord(std::span<const std::uint8_t> bytes);

// Throws TextEncodingError when a text has a character outside Windows-1250.
ConfigRecordBytes EncodeConfigRecord(const TConfigRecord& record);

// A server path always ends in a backslash: one is appended when the last character is not one,
// so an empty path becomes "\".
std::string WithTrailingBackslash(std::string path);

// What the client's settings tab holds of the configuration.
struct ClientSettings {
  SwitchSet switches{};
  std::string provoz;       // establishment
  std::string adminheslo;   // administrator password
  std::string pozadiFile;   // background picture file
  std::string servercesta;  // server path

  bool operator==(const ClientSettings&) const = default;
};

// The client's start-up read: the controls take the record's values, the server path normalised.
ClientSettings ClientSettingsFromRecord(const TConfigRecord& record);

// The client's "save default": normalises the server path in the box itself (the caller shows the
// changed text), then returns the record to write.
TConfigRecord ClientRecordFromSettings(ClientSettings& settings);

}  // namespace sentavo
