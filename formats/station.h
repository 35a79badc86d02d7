// A guest PC's report of itself in the shared folder (stav\<PC>.json) and the operator's command
// to one PC (prikazy\<PC>.json): small UTF-8 JSON files, each written whole under a temporary
// name and moved into place. Whatever is read back is hostile: any PC may have written it, and on
// a PC without the guard, its guest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "formats/oledate.h"

namespace sentavo {

inline constexpr std::string_view kStatusFolder = "stav";
inline constexpr std::string_view kCommandFolder = "prikazy";
// Larger files are not read at all: a status is a few hundred bytes.
inline constexpr std::size_t kMaxStationFileBytes = 16 * 1024;
// A running station reports every 5 s; one silent for longer than this is shown as unavailable.
inline constexpr int kStatusEverySeconds = 5;
inline constexpr int kStaleAfterSeconds = 30;
inline constexpr int kMinAddMinutes = 1;
inline constexpr int kMaxAddMinutes = 600;
inline constexpr std::size_t kMaxMessageChars = 200;  // characters, not bytes

// A local time with the offset from UTC that held then, e.g. 2026-12-10T14:03:22+01:00.
struct LocalTime {
  DateTime local;
  int offsetMinutes = 0;  // east of Greenwich positive
  bool operator==(const LocalTime&) const = default;
};
std::string FormatLocalTime(const LocalTime& t);
// Exactly the form FormatLocalTime writes (a "Z" is taken as +00:00); nothing else.
std::optional<LocalTime> ParseLocalTime(std::string_view text);
// Seconds between two moments, b - a, whatever the offsets.
double SecondsBetween(const LocalTime& a, const LocalTime& b);

enum class StationState { Locked, Guest, Admin };
std::string_view StateName(StationState s);  // "locked", "guest", "admin"

// What became of the latest command: "ok", or why it was refused.
struct CommandOutcome {
  std::string command;  // as the file named it ("lock", "addTime", "message"), or "" if unreadable
  LocalTime at;
  std::string result;
  bool operator==(const CommandOutcome&) const = default;
};
inline constexpr std::string_view kResultOk = "ok";

struct StationStatus {
  std::string pc;
  std::string uid;
  StationState state = StationState::Locked;
  std::string code;                         // the code in use, or empty
  std::optional<std::int32_t> secondsLeft;  // while a guest's or an administrator's period runs
  LocalTime since;                          // when the current state began
  LocalTime updated;
  bool guarded = false;
  std::string version;
  std::optional<CommandOutcome> lastCommand;
  bool operator==(const StationStatus&) const = default;
};

std::string EncodeStatus(const StationStatus& s);
// Empty for anything that is not a whole, well-typed status of at most kMaxStationFileBytes.
std::optional<StationStatus> DecodeStatus(std::string_view json);
// No report for longer than kStaleAfterSeconds before `now`.
bool IsStale(const StationStatus& s, const LocalTime& now);

struct LockCommand {
  bool operator==(const LockCommand&) const = default;
};
struct AddTimeCommand {
  int minutes = 0;
  bool operator==(const AddTimeCommand&) const = default;
};
struct MessageCommand {
  std::string text;  // UTF-8, at most kMaxMessageChars characters
  bool operator==(const MessageCommand&) const = default;
};
using StationCommand = std::variant<LockCommand, AddTimeCommand, MessageCommand>;
std::string_view CommandName(const StationCommand& c);
std::string EncodeCommand(const StationCommand& c);

// A command file read: the command, or why it is not one (for the status), with the name the
// file gave where it gave one.
struct DecodedCommand {
  std::optional<StationCommand> command;
  std::string name;
  std::string error;
};
DecodedCommand DecodeCommand(std::string_view json);

// The file of one station in one of the folders: `share` ends with a backslash (or is empty).
// Characters that cannot stand in a file name are replaced, so that no name leaves the folder.
std::string StationFile(std::string_view share, std::string_view folder, std::string_view pc);

}  // namespace sentavo
