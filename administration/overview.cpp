#include "administration/overview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "administration/admin_texts.h"

namespace sentavo::admin {
namespace {

constexpr std::string_view kJson = ".json";

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
  });
}

// A hostile text made fit to show in one cell: control characters (a line break, a bell) become
// "?", and it is cut after kMaxShownChars characters. The JSON reader has checked it is UTF-8.
std::string Shown(std::string_view utf8) {
  std::string out;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const bool starts = (c & 0xC0) != 0x80;
    if (starts && ++chars > kMaxShownChars) {
      out += "…";
      break;
    }
    out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  return out;
}

DateTime Shifted(const DateTime& t, int minutes) {
  const auto shifted = FromOleDate(ToOleDate(t) + minutes / 1440.0);
  DateTime out = shifted.value_or(t);
  out.millisecond = 0;
  // An OLE date rounds to the millisecond; a second that came back as 59.999 is the next one.
  return out;
}

std::string CommandCaption(std::string_view name) {
  if (name == "lock") return std::string(text::kZamknout);
  if (name == "addTime") return std::string(text::kAddTimeCaption);
  if (name == "message") return std::string(text::kMessageCaption);
  return Shown(name);
}

std::string OutcomeLine(const CommandOutcome& c, const LocalTime& now,
                        const DateTimeFormats& formats) {
  std::string line = "Poslední příkaz: " + CommandCaption(c.command) + " (" +
                     FormatMoment(c.at, now, formats) + ") – ";
  if (c.result == kResultOk) return line + std::string(text::kResultDone);
  return line + std::string(text::kResultRefused) + ": " + Shown(c.result);
}

OverviewRow RowOf(const StationStatus& s, std::string pc, const LocalTime& now,
                  const DateTimeFormats& formats) {
  OverviewRow row;
  row.pocitac = Shown(pc);
  row.station = std::move(pc);
  const bool stale = IsStale(s, now);
  switch (s.state) {
    case StationState::Locked: row.stav = text::kStateLocked; break;
    case StationState::Guest: row.stav = text::kStateGuest; break;
    case StationState::Admin: row.stav = text::kStateAdmin; break;
  }
  if (stale) row.stav = text::kStateUnavailable;
  row.kod = Shown(s.code);
  // The time left of a PC that stopped reporting is no longer known.
  if (s.secondsLeft && !stale) row.zbyva = FormatRemaining(*s.secondsLeft);
  row.od = FormatMoment(s.since, now, formats);
  row.posledniHlaseni = FormatMoment(s.updated, now, formats);
  row.ochrana = s.guarded ? text::kGuardedYes : text::kGuardedNo;
  if (s.lastCommand) row.lastCommand = OutcomeLine(*s.lastCommand, now, formats);
  return row;
}

// The one status file of a station, if `name` is one: "<PC>.json", any letter case.
std::optional<std::string> StationOfFile(const std::string& name) {
  if (name.size() <= kJson.size() ||
      !EqualsIgnoringCase(std::string_view(name).substr(name.size() - kJson.size()), kJson))
    return std::nullopt;
  return name.substr(0, name.size() - kJson.size());
}

std::string CzechIoReason(int error) {
  switch (error) {
    case io::kFileNotFound:
    case io::kPathNotFound: return "sdílená složka nebyla nalezena";
    case io::kAccessDenied: return "přístup byl odepřen";
    case io::kDiskFull: return "disk je plný";
    case io::kTooManyOpenFiles: return "příliš mnoho otevřených souborů";
    default: return "chyba " + std::to_string(error);
  }
}

}  // namespace

LocalTime LocalNowWithOffset(const Clock& clock) {
  LocalTime now;
  now.local = clock.LocalNow();
  constexpr std::int64_t kDay = 86'400'000;
  const std::int64_t local =
      ((now.local.hour * 60 + now.local.minute) * 60 + now.local.second) * 1000LL +
      now.local.millisecond;
  std::int64_t diff = (local - clock.UtcMillisecondsOfDay()) % kDay;
  // Zones run from 12 hours west to 14 east; a difference outside that crossed midnight.
  if (diff > 14 * 3'600'000LL) diff -= kDay;
  if (diff < -12 * 3'600'000LL) diff += kDay;
  constexpr double kQuarter = 15 * 60'000.0;
  now.offsetMinutes = static_cast<int>(std::lround(static_cast<double>(diff) / kQuarter) * 15);
  return now;
}

std::string FormatRemaining(std::int32_t seconds) {
  if (seconds < 0) seconds = 0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buf;
}

std::string FormatMoment(const LocalTime& t, const LocalTime& now, const DateTimeFormats& formats) {
  const DateTime here = Shifted(t.local, now.offsetMinutes - t.offsetMinutes);
  const std::string time = formats.LongTime(here);
  if (DateKey(here) == DateKey(now.local)) return time;
  return formats.ShortDate(here) + " " + time;
}

std::vector<OverviewRow> ReadOverview(const FileAccess& files, const std::string& share,
                                      const LocalTime& now, const DateTimeFormats& formats) {
  const std::string folder = share + std::string(kStatusFolder) + "\\";
  struct Found {
    std::string pc, file;
  };
  std::vector<Found> stations;
  for (FolderFile& f : files.ListFiles(folder)) {
    if (auto pc = StationOfFile(f.name)) stations.push_back({std::move(*pc), std::move(f.name)});
  }
  std::sort(stations.begin(), stations.end(),
            [](const Found& a, const Found& b) { return LessIgnoringCase(a.pc, b.pc); });
  if (stations.size() > kMaxStations) stations.resize(kMaxStations);

  std::vector<OverviewRow> rows;
  rows.reserve(stations.size());
  for (auto& [pc, file] : stations) {
    // One byte over the limit tells an oversized file from one that just fits.
    const ReadResult read = files.Read(folder + file, kMaxStationFileBytes + 1);
    std::optional<StationStatus> status;
    if (read.error == io::kOk && read.bytes.size() <= kMaxStationFileBytes) {
      status = DecodeStatus(
          std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
    }
    // A status under another PC's file name is no report of this PC: each file has one writer.
    if (status && !EqualsIgnoringCase(StationFile("", kStatusFolder, status->pc),
                                      StationFile("", kStatusFolder, pc)))
      status.reset();
    if (status) {
      rows.push_back(RowOf(*status, std::move(pc), now, formats));
    } else {
      OverviewRow row;
      row.pocitac = Shown(pc);
      row.station = std::move(pc);
      row.stav = text::kStateUnavailable;
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

std::optional<int> ParseMinutes(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < kMinAddMinutes || value > kMaxAddMinutes) return std::nullopt;
  return value;
}

std::size_t CharacterCount(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

int SendStationCommand(FileAccess& files, const std::string& share, const std::string& pc,
                       const StationCommand& command) {
  const std::string folder = share + std::string(kCommandFolder);
  if (!files.IsFolder(folder)) {
    const int error = files.CreateFolder(folder);
    // Another operator's program may have made it meanwhile.
    if (error != io::kOk && !files.IsFolder(folder)) return error;
  }
  const std::string json = EncodeCommand(command);
  return files.Replace(StationFile(share, kCommandFolder, pc),
                       {reinterpret_cast<const std::uint8_t*>(json.data()), json.size()});
}

std::string CommandErrorText(const std::string& pc, int error) {
  return text::CommandNotWritten(pc, CzechIoReason(error));
}

}  // namespace sentavo::admin
