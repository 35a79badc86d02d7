// "Přehled": the guest PCs as their status files in <share>\stav\ describe them, as rows of texts
// the operator reads, and the commands the operator sends to one PC through <share>\prikazy\.
// Everything read here is hostile (a guest on a PC without the guard can write any status file):
// it is size-capped, decoded by DecodeStatus, shown as text and never acted on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/clock.h"
#include "formats/file_access.h"
#include "formats/station.h"

namespace sentavo::admin {

// A folder of more status files than this is not a room of PCs but a flood: the rest are left
// out, so that the window, which reads them every 2 seconds, stays responsive.
inline constexpr std::size_t kMaxStations = 1000;
// A name or a code longer than this is cut for display; the list's columns show far less.
inline constexpr std::size_t kMaxShownChars = 64;

// One PC's row, its texts in column order, and what the actions need to know of it.
struct OverviewRow {
  std::string station;          // the name of its status file, which also names its command file
  std::string pocitac;          // that name as shown
  std::string stav;             // "Zamčeno", "Host", "Správce" or "Nedostupný"
  std::string kod;              // the code in use
  std::string zbyva;            // h:mm:ss, empty when no period runs
  std::string od;               // when the current state began
  std::string posledniHlaseni;  // the latest report
  std::string ochrana;          // "ano" / "ne": whether the PC runs the guard; empty if unknown
  // The station's latest command outcome, as a line for the operator; empty when none.
  std::string lastCommand;
  bool operator==(const OverviewRow&) const = default;
};

// The operator's local time now, with its offset from UTC, from the clock's local time and UTC
// time of day (the offset rounded to the quarter hour that every time zone keeps).
LocalTime LocalNowWithOffset(const Clock& clock);

// "1:05:09"; hours are not wrapped at a day.
std::string FormatRemaining(std::int32_t seconds);
// A moment as the operator's clock shows it: "14:03:22" today, "9.12.2026 14:03:22" another day,
// in the operator's own time zone whatever zone the PC reported in.
std::string FormatMoment(const LocalTime& t, const LocalTime& now, const DateTimeFormats& formats);

// Every status file in `share`\stav\ (`share` ends with a backslash): one row a file named
// <PC>.json, sorted by computer name ignoring case. A file that cannot be read whole, is too
// large, is no status or names another PC shows as "Nedostupný" under its file's name, as does a
// status older than kStaleAfterSeconds.
std::vector<OverviewRow> ReadOverview(const FileAccess& files, const std::string& share,
                                      const LocalTime& now, const DateTimeFormats& formats);

// The minutes typed for "Přidat čas…": a whole number from kMinAddMinutes to kMaxAddMinutes,
// blanks around it allowed; nothing else.
std::optional<int> ParseMinutes(std::string_view text);
// The text typed for "Zpráva…" counts by characters (UTF-8 code points), not bytes.
std::size_t CharacterCount(std::string_view utf8);

// Writes the command file of `pc` whole, creating the folder prikazy when it is missing; kOk or
// the error that stopped it.
int SendStationCommand(FileAccess& files, const std::string& share, const std::string& pc,
                       const StationCommand& command);
// The operator's box for a command that could not be written, the reason in Czech.
std::string CommandErrorText(const std::string& pc, int error);

}  // namespace sentavo::admin
