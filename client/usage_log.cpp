// The usage log's station side: a line at the end of every guest's period, appended to the
// station's file of the month in the shared folder with one write. A share that cannot take it
// keeps the line in a queue beside Sentavo.cfg, written with the next period's line, so that no
// line is lost.
#include <algorithm>
#include <map>
#include <vector>

#include "client/lock_screen.h"
#include "formats/config_record.h"

namespace sentavo::client {

namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

// The second line of Sentavo.run: "YYYY-MM-DDTHH:MM:SS N", the start and the seconds it began
// with. The guest may have written it: it is taken only as far as it makes sense for one line.
struct RunStart {
  DateTime start;
  std::int64_t seconds = 0;
};
std::optional<RunStart> ParseRunStart(const std::string& runFile) {
  const std::size_t newline = runFile.find('\n');
  if (newline == std::string::npos) return std::nullopt;
  const std::string line = runFile.substr(newline + 1);
  const std::size_t space = line.find(' ');
  if (space == std::string::npos) return std::nullopt;
  const auto start = ParseIso(line.substr(0, space));
  const std::string seconds = line.substr(space + 1);
  if (!start || !start->hasTime || seconds.empty() || seconds.size() > 10 ||
      seconds.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return RunStart{start->value, std::stoll(seconds)};
}

}  // namespace

void LockScreen::LogStrandedPeriod(const std::string& runFile, const std::string& codePath,
                                   const TCodeRecord& record) {
  if (!Reporting()) return;
  // The period ended with its last write-back: the code file's lastUse, to the second.
  DateTime end = s_.clock.LocalNow();
  if (const auto lastUse = FromOleDate(record.lastUse)) end = *lastUse;
  end.millisecond = 0;
  UsageLine line{s_.station->computerName, CodeNameOfFile(codePath), end, end, 0,
                 PeriodEnding::Recovery};
  if (const auto begun = ParseRunStart(runFile); begun && begun->start <= end) {
    line.start = begun->start;
    line.seconds = std::clamp<std::int64_t>(begun->seconds - record.secondsLeft, 0, begun->seconds);
  }
  LogPeriod(line);
}

void LockScreen::LogPeriod(const UsageLine& line) {
  const std::string share = WithTrailingBackslash(view_.servercesta);
  const std::string queuePath = InExeDir(kLogQueueFileName);
  std::vector<UsageLine> lines;
  const bool queued = s_.files.IsFile(queuePath);
  if (queued) {
    const ReadResult q = s_.files.Read(queuePath, kMaxLogQueueSize);
    if (q.error == io::kOk) {
      lines = DecodeUsageLines(
          std::string_view(reinterpret_cast<const char*>(q.bytes.data()), q.bytes.size()));
    }
  }
  lines.push_back(line);

  if (const std::string folder = share + std::string(kUsageLogFolder); !s_.files.IsFolder(folder)) {
    s_.environment.CreateFolder(folder);
  }
  // One append per file: a line that ended in another month goes to that month's file.
  std::map<std::string, std::vector<UsageLine>> byFile;
  for (const UsageLine& l : lines) byFile[UsageLogFile(share, l.pc, l.end)].push_back(l);
  std::vector<UsageLine> left;
  for (const auto& [path, group] : byFile) {
    std::string data = s_.files.IsFile(path) ? std::string() : std::string(UsageLogHeader());
    for (const UsageLine& l : group) data += EncodeUsageLine(l);
    if (s_.files.Append(path, Bytes(data)) != io::kOk)
      left.insert(left.end(), group.begin(), group.end());
  }
  if (left.empty()) {
    if (queued) s_.files.Remove(queuePath);
    return;
  }
  std::string text;
  for (const UsageLine& l : left) text += EncodeUsageLine(l);
  s_.files.Replace(queuePath, Bytes(text));
}

}  // namespace sentavo::client
