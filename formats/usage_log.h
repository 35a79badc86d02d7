// The usage log: one line per guest's period in <share>\log\<PC>-YYYY-MM.csv, one file per
// station and month so that no two stations ever write the same file. UTF-8 with a byte-order
// mark and ';' between fields, as a Czech spreadsheet opens it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/oledate.h"

namespace sentavo {

enum class PeriodEnding { LogOff, Expiry, Validity, Operator, Recovery };
// "odhlášení", "vypršení", "platnost", "správce", "obnova".
std::string_view EndingName(PeriodEnding e);

struct UsageLine {
  std::string pc;
  std::string code;
  DateTime start;
  DateTime end;
  std::int64_t seconds = 0;  // of the guest's time used
  PeriodEnding ending = PeriodEnding::LogOff;
  bool operator==(const UsageLine&) const = default;
};

inline constexpr std::string_view kUsageLogFolder = "log";
// The first bytes of every log file: the byte-order mark and the header line.
std::string_view UsageLogHeader();
// One line with its CRLF. A field holding ';' or '"' is quoted, quotes doubled; a line break in a
// field is written as a space.
std::string EncodeUsageLine(const UsageLine& line);
// One line without its line break; empty for anything EncodeUsageLine would not have written.
std::optional<UsageLine> DecodeUsageLine(std::string_view line);
// The lines of a log file or queue that decode, in order (the header and damaged lines skipped).
std::vector<UsageLine> DecodeUsageLines(std::string_view text);
// <share>log\<PC>-YYYY-MM.csv, by the month the period ended; `share` ends with a backslash.
std::string UsageLogFile(std::string_view share, std::string_view pc, const DateTime& end);

}  // namespace sentavo
