#include "formats/issuing.h"

namespace sentavo {

RightsSet DefaultIssueRights() {
  return kDefaultRights;
}

TCodeRecord BuildIssuedRecord(const IssueRequest& q, const DateTime& now,
                              const DateTimeFormats& formats) {
  const auto dayOf = [](const DateTime& dt) { return DateTime{dt.year, dt.month, dt.day}; };
  const auto timeOf = [](const DateTime& dt) {
    return DateTime{1899, 12, 30, dt.hour, dt.minute, dt.second, dt.millisecond};
  };
  TCodeRecord r;
  r.rights = q.rights;
  r.reusable = q.reusable;
  r.active = true;
  r.secondsLeft = q.seconds;
  r.establishment = q.establishment;
  r.validFromDate = ToOleDate(dayOf(q.validFrom));
  r.validToDate = ToOleDate(dayOf(q.validTo));
  r.validFromTime = ToOleDate(timeOf(q.validFrom));
  r.validToTime = ToOleDate(timeOf(q.validTo));
  r.lastUse = ToOleDate(now) - 1.0;
  r.codeType = q.codeType;
  r.dailySeconds = q.seconds;
  r.reserved328.fill(1);
  r.loggedIn = false;
  r.validFromDateText = formats.ShortDate(q.validFrom);
  r.validFromTimeText = formats.LongTime(q.validFrom);
  r.validToDateText = formats.ShortDate(q.validTo);
  r.validToTimeText = formats.LongTime(q.validTo);
  r.created = ToOleDate(now);
  return r;
}

std::uint32_t CodeNameGenerator::Draw() {
  seed_ = seed_ * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * 2147483647u) >> 32);
}

}  // namespace sentavo
