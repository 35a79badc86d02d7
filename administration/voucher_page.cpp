#include "administration/voucher_page.h"

#include <algorithm>
#include <string>

namespace sentavo::admin {

namespace {

// A caption draws "&" as the mark of the next letter: a name's own "&" is doubled.
std::string Literal(std::string_view text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

void Caption(ui::Canvas& canvas, const ui::FontSpec& base, const ui::Rect& box,
             std::string_view text) {
  const std::string literal = Literal(text);
  const ui::FontSpec font = FittedFont(canvas, base, literal, box.right - box.left);
  canvas.SetFont(font);
  canvas.DrawCaption(box, literal, font.color);
}

}  // namespace

std::vector<ui::Rect> SlipRects(ui::Size page) {
  const int margin = std::max(page.cx / 20, 1);
  const int gap = std::max(margin / 3, 1);
  const int rows = kSlipsPerPage / kSlipColumns;
  const int width = (page.cx - 2 * margin - (kSlipColumns - 1) * gap) / kSlipColumns;
  const int height = (page.cy - 2 * margin - (rows - 1) * gap) / rows;
  std::vector<ui::Rect> slips;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < kSlipColumns; ++column) {
      const int left = margin + column * (width + gap), top = margin + row * (height + gap);
      slips.push_back({left, top, left + width, top + height});
    }
  }
  return slips;
}

ui::FontSpec FittedFont(ui::Canvas& canvas, ui::FontSpec base, std::string_view text, int width) {
  constexpr int kSmallest = 4;
  canvas.SetFont(base);
  int measured = canvas.TextExtent(text).cx;
  if (measured <= width || base.height <= kSmallest) return base;
  // Text widths grow about in step with the height: start from the proportional height, then
  // step down until it fits.
  base.height = std::max(kSmallest, static_cast<int>(static_cast<long long>(base.height) * width /
                                                     std::max(measured, 1)));
  for (;;) {
    canvas.SetFont(base);
    measured = canvas.TextExtent(text).cx;
    if (measured <= width || base.height <= kSmallest) return base;
    --base.height;
  }
}

void DrawVoucherPage(ui::Canvas& canvas, ui::Size page, const VoucherSheet& sheet, int pageIndex) {
  canvas.SetBrush(ui::clWhite);
  canvas.FillRect({0, 0, page.cx, page.cy});
  const std::vector<ui::Rect> slips = SlipRects(page);
  for (int i = 0; i < kSlipsPerPage; ++i) {
    const std::size_t at = static_cast<std::size_t>(pageIndex) * kSlipsPerPage + i;
    if (pageIndex < 0 || at >= sheet.vouchers.size()) break;
    const Voucher& v = sheet.vouchers[at];
    const ui::Rect& s = slips[static_cast<std::size_t>(i)];
    canvas.FrameRect(s, ui::clGray);  // where to cut
    const int h = s.bottom - s.top, pad = std::max(h / 16, 1);
    const int left = s.left + pad, right = s.right - pad;
    // Rows of the slip, in parts of its height: establishment, "Kód:", the code, the time, the
    // validity and the hint.
    auto row = [&](int from, int to) {
      return ui::Rect{left, s.top + pad + (h - 2 * pad) * from / 100, right,
                      s.top + pad + (h - 2 * pad) * to / 100};
    };
    const int line = h / 9;
    const ui::FontSpec normal{"Verdana", line, false, false, false, ui::clBlack};
    ui::FontSpec bold = normal;
    bold.bold = true;
    const ui::FontSpec code{"Courier New", h / 4, true, false, false, ui::clBlack};
    ui::FontSpec small = normal;
    small.height = std::max(line * 3 / 4, 4);
    Caption(canvas, bold, row(0, 16), sheet.establishment);
    Caption(canvas, normal, row(18, 30), kVoucherCodeLabel);
    Caption(canvas, code, row(30, 58), v.code);
    Caption(canvas, bold, row(60, 74), VoucherTime(v.seconds));
    Caption(canvas, small, row(76, 87), std::string(kVoucherValidTo) + " " + v.validTo);
    Caption(canvas, small, row(88, 100), kVoucherHint);
  }
}

}  // namespace sentavo::admin
