// Printed vouchers: ten slips to an A4 page, each with the establishment, the code, its time and
// the end of its validity. The page is laid out here once for every way it is put on paper (the
// administration program's preview and printer through the canvas, the code tool's HTML page).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sentavo {

struct Voucher {
  std::string code;
  std::int32_t seconds = 0;
  std::string validTo;  // as the system writes a date and time, e.g. "11.12.2026 18:00:00"
  bool operator==(const Voucher&) const = default;
};

struct VoucherSheet {
  std::string establishment;
  std::vector<Voucher> vouchers;
};

inline constexpr int kSlipsPerPage = 10;  // two columns of five
inline constexpr int kSlipColumns = 2;
inline constexpr std::string_view kVoucherCodeLabel = "Kód:";
inline constexpr std::string_view kVoucherValidTo = "Platí do:";
inline constexpr std::string_view kVoucherHint =
    "Zadejte kód na zamčené obrazovce a stiskněte Enter.";

// "1 h 00 min", "0 h 45 min", "25 h 30 min".
std::string VoucherTime(std::int32_t seconds);
int VoucherPageCount(const VoucherSheet& sheet);
// The whole sheet as one printable HTML page (A4, ten slips a page), texts escaped.
std::string VoucherSheetHtml(const VoucherSheet& sheet);

}  // namespace sentavo
