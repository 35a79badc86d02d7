// What "save code" puts into a code record, and the generator behind "suggest": shared by the
// administration program and the sentavo-codes tool, so that both issue the same bytes.
#pragma once

#include <cstdint>
#include <string>

#include "formats/clock.h"
#include "formats/code_record.h"
#include "formats/oledate.h"

namespace sentavo {

inline constexpr int kMinBudgetSeconds = 60;
inline constexpr int kMaxBudgetSeconds = 32767;

struct IssueRequest {
  RightsSet rights{};
  bool reusable = false;
  int seconds = 3600;
  std::string establishment;
  DateTime validFrom;  // the date picker's day and the time picker's time of day
  DateTime validTo;
  std::int32_t codeType = kCodeTypeOnce;
};

// The rights set the administration program starts with: only ctrlaltdel ticked.
RightsSet DefaultIssueRights();

// The record as saved at `now`: active, not in use, lastUse one day before now, bytes 328-334 set
// to 1, the four validity texts in `formats`. Every other byte zero.
TCodeRecord BuildIssuedRecord(const IssueRequest& request, const DateTime& now,
                              const DateTimeFormats& formats);

// A 32-bit linear congruential generator; each draw lies in 0..2147483646.
class CodeNameGenerator {
 public:
  explicit CodeNameGenerator(std::uint32_t seed) : seed_(seed) {}
  std::uint32_t Draw();
  std::string NextName() { return std::to_string(Draw()); }
  std::uint32_t seed() const { return seed_; }

 private:
  std::uint32_t seed_;
};

}  // namespace sentavo
