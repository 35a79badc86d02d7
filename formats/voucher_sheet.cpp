#include "formats/voucher_sheet.h"

#include <cstdio>

namespace sentavo {

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

constexpr std::string_view kStyle =
    "@page { size: A4; margin: 10mm; }\n"
    "body { margin: 0; font-family: Verdana, sans-serif; }\n"
    ".page { display: grid; grid-template-columns: 1fr 1fr; grid-template-rows: repeat(5, 1fr);\n"
    "        gap: 4mm; height: 277mm; page-break-after: always; break-after: page; }\n"
    ".page:last-child { page-break-after: auto; break-after: auto; }\n"
    ".slip { border: 1px dashed #555; padding: 3mm; display: flex; flex-direction: column;\n"
    "        justify-content: space-between; text-align: center; overflow: hidden; }\n"
    ".establishment { font-weight: bold; font-size: 12pt; }\n"
    ".code { font-family: 'Courier New', monospace; font-weight: bold; font-size: 26pt; }\n"
    ".time { font-size: 12pt; }\n"
    ".valid, .hint { font-size: 9pt; }\n";

}  // namespace

std::string VoucherTime(std::int32_t seconds) {
  if (seconds < 0) seconds = 0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d h %02d min", seconds / 3600, seconds % 3600 / 60);
  return buf;
}

int VoucherPageCount(const VoucherSheet& sheet) {
  return static_cast<int>((sheet.vouchers.size() + kSlipsPerPage - 1) / kSlipsPerPage);
}

std::string VoucherSheetHtml(const VoucherSheet& sheet) {
  std::string html = "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<title>Poukázky – " + Escaped(sheet.establishment) + "</title>\n<style>\n";
  html += kStyle;
  html += "</style>\n</head>\n<body>\n";
  for (std::size_t i = 0; i < sheet.vouchers.size(); ++i) {
    if (i % kSlipsPerPage == 0) html += "<div class=\"page\">\n";
    const Voucher& v = sheet.vouchers[i];
    html += "<div class=\"slip\">";
    html += "<div class=\"establishment\">" + Escaped(sheet.establishment) + "</div>";
    html += "<div>" + Escaped(kVoucherCodeLabel) + " <span class=\"code\">" + Escaped(v.code) +
            "</span></div>";
    html += "<div class=\"time\">" + VoucherTime(v.seconds) + "</div>";
    html +=
        "<div class=\"valid\">" + Escaped(kVoucherValidTo) + " " + Escaped(v.validTo) + "</div>";
    html += "<div class=\"hint\">" + Escaped(kVoucherHint) + "</div>";
    html += "</div>\n";
    if (i % kSlipsPerPage == kSlipsPerPage - 1 || i + 1 == sheet.vouchers.size())
      html += "</div>\n";
  }
  html += "</body>\n</html>\n";
  return html;
}

}  // namespace sentavo
