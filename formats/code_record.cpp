#include "formats/code_record.h"

#include <algorithm>

#include "formats/binio.h"

namespace sentavo {
namespace {

namespace off {
constexpr std::size_t kRights = 0, kReusable = 15, kActive = 16, kReserved17 = 17,
                      kSecondsLeft = 20, kEstablishment = 24, kValidFromDate = 280,
                      kValidToDate = 288, kValidFromTime = 296, kValidToTime = 304, kLastUse = 312,
                      kCodeType = 320, kDailySeconds = 324, kReserved328 = 328, kLoggedIn = 335,
                      kReserved336 = 336, kValidFromDateText = 356, kValidFromTimeText = 612,
                      kReserved868 = 868, kValidToDateText = 2660, kValidToTimeText = 2916,
                      kReserved3172 = 3172, kCreated = 5720;
}  // namespace off

template <std::size_t N>
void GetBytes(std::span<const std::uint8_t> b, std::size_t at, std::array<std::uint8_t, N>& out) {
  std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(at), N, out.begin());
}

template <std::size_t N>
void PutBytes(std::span<std::uint8_t> b, std::size_t at, const std::array<std::uint8_t, N>& in) {
  std::copy(in.begin(), in.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::optional<TCodeRecord> DecodeCodeRecord(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kCodeRecordSize) return std::nullopt;
  const auto b = bytes.first(kCodeRecordSize);
  using namespace binio;
  TCodeRecord r;
  for (std::size_t i = 0; i < kRightsCount; ++i) r.rights[i] = GetBool(b, off::kRights + i);
  r.reusable = GetBool(b, off::kReusable);
  r.active = GetBool(b, off::kActive);
  GetBytes(b, off::kReserved17, r.reserved17);
  r.secondsLeft = GetInt32(b, off::kSecondsLeft);
  r.establishment = GetText(b, off::kEstablishment);
  r.validFromDate = GetDouble(b, off::kValidFromDate);
  r.validToDate = GetDouble(b, off::kValidToDate);
  r.validFromTime = GetDouble(b, off::kValidFromTime);
  r.validToTime = GetDouble(b, off::kValidToTime);
  r.lastUse = GetDouble(b, off::kLastUse);
  r.codeType = GetInt32(b, off::kCodeType);
  r.dailySeconds = GetInt32(b, off::kDailySeconds);
  GetBytes(b, off::kReserved328, r.reserved328);
  r.loggedIn = GetBool(b, off::kLoggedIn);
  GetBytes(b, off::kReserved336, r.reserved336);
  r.validFromDateText = GetText(b, off::kValidFromDateText);
  r.validFromTimeText = GetText(b, off::kValidFromTimeText);
  GetBytes(b, off::kReserved868, r.reserved868);
  r.validToDateText = GetText(b, off::kValidToDateText);
  r.validToTimeText = GetText(b, off::kValidToTimeText);
  GetBytes(b, off::kReserved3172, r.reserved3172);
  r.created = GetDouble(b, off::kCreated);
  return r;
}

CodeRecordBytes EncodeCodeRecord(const TCodeRecord& r) {
  CodeRecordBytes bytes{};
  const std::span<std::uint8_t> b(bytes);
  using namespace binio;
  for (std::size_t i = 0; i < kRightsCount; ++i) PutBool(b, off::kRights + i, r.rights[i]);
  PutBool(b, off::kReusable, r.reusable);
  PutBool(b, off::kActive, r.active);
  PutBytes(b, off::kReserved17, r.reserved17);
  PutInt32(b, off::kSecondsLeft, r.secondsLeft);
  PutText(b, off::kEstablishment, r.establishment);
  PutDouble(b, off::kValidFromDate, r.validFromDate);
  PutDouble(b, off::kValidToDate, r.validToDate);
  PutDouble(b, off::kValidFromTime, r.validFromTime);
  PutDouble(b, off::kValidToTime, r.validToTime);
  PutDouble(b, off::kLastUse, r.lastUse);
  PutInt32(b, off::kCodeType, r.codeType);
  PutInt32(b, off::kDailySeconds, r.dailySeconds);
  PutBytes(b, off::kReserved328, r.reserved328);
  PutBool(b, off::kLoggedIn, r.loggedIn);
  PutBytes(b, off::kReserved336, r.reserved336);
  PutText(b, off::kValidFromDateText, r.validFromDateText);
  PutText(b, off::kValidFromTimeText, r.validFromTimeText);
  PutBytes(b, off::kReserved868, r.reserved868);
  PutText(b, off::kValidToDateText, r.validToDateText);
  PutText(b, off::kValidToTimeText, r.validToTimeText);
  PutBytes(b, off::kReserved3172, r.reserved3172);
  PutDouble(b, off::kCreated, r.created);
  return bytes;
}

}  // namespace sentavo
