#include "formats/usage_log.h"

#include <cstdio>

#include "formats/station.h"

namespace sentavo {

namespace {

constexpr std::string_view kEndings[] = {"odhlášení", "vypršení", "platnost", "správce", "obnova"};

std::string Time(const DateTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

std::optional<DateTime> ParseTime(std::string_view s) {
  if (s.size() != 19 || s[10] != ' ') return std::nullopt;
  std::string iso(s);
  iso[10] = 'T';
  // The station file's reader takes exactly this form with an offset.
  const auto t = ParseLocalTime(iso + "Z");
  return t ? std::optional(t->local) : std::nullopt;
}

// One period is one line, whatever a name holds: a line break becomes a space, so that a damaged
// line can never take the lines after it with it.
void Field(std::string& out, std::string_view value) {
  const bool quote = value.find_first_of(";\"") != std::string_view::npos;
  if (quote) out += '"';
  for (const char c : value) {
    if (c == '"') out += '"';
    out += c == '\r' || c == '\n' ? ' ' : c;
  }
  if (quote) out += '"';
}

// The fields of one line, quotes undone; empty when a quote is left open or stray.
std::optional<std::vector<std::string>> Split(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = false;
        if (i + 1 < line.size() && line[i + 1] != ';') return std::nullopt;
      }
    } else if (c == ';') {
      fields.emplace_back();
    } else if (c == '"' && fields.back().empty()) {
      quoted = true;
    } else if (c == '"' || c == '\r' || c == '\n') {
      return std::nullopt;
    } else {
      fields.back() += c;
    }
  }
  if (quoted) return std::nullopt;
  return fields;
}

}  // namespace

std::string_view EndingName(PeriodEnding e) {
  return kEndings[static_cast<int>(e)];
}

std::string_view UsageLogHeader() {
  return "\xEF\xBB\xBFPočítač;Kód;Začátek;Konec;Sekund;Ukončení\r\n";
}

std::string EncodeUsageLine(const UsageLine& l) {
  std::string out;
  Field(out, l.pc);
  out += ';';
  Field(out, l.code);
  out += ';' + Time(l.start) + ';' + Time(l.end) + ';' + std::to_string(l.seconds) + ';';
  out += EndingName(l.ending);
  out += "\r\n";
  return out;
}

std::optional<UsageLine> DecodeUsageLine(std::string_view line) {
  const auto f = Split(line);
  if (!f || f->size() != 6) return std::nullopt;
  UsageLine l;
  l.pc = (*f)[0];
  l.code = (*f)[1];
  const auto start = ParseTime((*f)[2]), end = ParseTime((*f)[3]);
  if (!start || !end) return std::nullopt;
  l.start = *start;
  l.end = *end;
  const std::string& seconds = (*f)[4];
  if (seconds.empty() || seconds.size() > 12 ||
      seconds.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  l.seconds = std::stoll(seconds);
  for (int e = 0; e < 5; ++e) {
    if ((*f)[5] == kEndings[e]) {
      l.ending = static_cast<PeriodEnding>(e);
      return l;
    }
  }
  return std::nullopt;
}

std::vector<UsageLine> DecodeUsageLines(std::string_view text) {
  std::vector<UsageLine> out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (const auto l = DecodeUsageLine(line)) out.push_back(*l);
    at = end + 1;
  }
  return out;
}

std::string UsageLogFile(std::string_view share, std::string_view pc, const DateTime& end) {
  char month[16];
  std::snprintf(month, sizeof month, "-%04d-%02d", end.year, end.month);
  // The station file's rule keeps the name inside its folder.
  std::string path = StationFile(share, kUsageLogFolder, pc);
  path.resize(path.size() - 5);  // ".json"
  return path + month + ".csv";
}

}  // namespace sentavo
