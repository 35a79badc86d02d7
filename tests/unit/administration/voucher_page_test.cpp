// The voucher sheet: ten slips a page that never overlap or leave the page, every text fitted to
// its slip, the last page partly filled, and the same slips as an HTML page.
#include "administration/voucher_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "formats/voucher_sheet.h"
#include "ui/recording_canvas.h"

namespace sentavo::admin {
namespace {

// A canvas whose text widths follow the font as a real one's do: 0.6 of the height a character.
class MeasuringCanvas final : public ui::Canvas {
 public:
  ui::RecordingCanvas rec;
  ui::TColor Resolve(ui::TColor c) const override { return rec.Resolve(c); }
  void SetPen(ui::TColor c) override { rec.SetPen(c); }
  void SetBrush(ui::TColor c) override { rec.SetBrush(c); }
  void SetClearBrush() override { rec.SetClearBrush(); }
  void SetFont(const ui::FontSpec& f) override {
    font = f;
    rec.SetFont(f);
  }
  void FillRect(const ui::Rect& r) override { rec.FillRect(r); }
  void FrameRect(const ui::Rect& r, ui::TColor c) override { rec.FrameRect(r, c); }
  void Polygon(std::span<const ui::Point> p) override { rec.Polygon(p); }
  void PolyPolygon(std::span<const ui::Point> p, std::span<const int> c) override {
    rec.PolyPolygon(p, c);
  }
  void Ellipse(const ui::Rect& r) override { rec.Ellipse(r); }
  void Polyline(std::span<const ui::Point> p) override { rec.Polyline(p); }
  ui::Size TextExtent(std::string_view text) override {
    int chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '&' && i + 1 < text.size()) ++i;
      if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++chars;
    }
    return {chars * font.height * 6 / 10, font.height};
  }
  void DrawCaption(const ui::Rect& box, std::string_view text, ui::TColor c) override {
    rec.DrawCaption(box, text, c);
  }
  void CopyRect(const ui::Rect& s, ui::Point d) override { rec.CopyRect(s, d); }
  void DrawImage(const ui::PixelImage& i, const ui::Rect& s, ui::Point d,
                 std::optional<ui::TColor> t) override {
    rec.DrawImage(i, s, d, t);
  }
  ui::FontSpec font;
};

VoucherSheet Sheet(int count, std::string establishment = "Kavárna U Lípy") {
  VoucherSheet sheet{std::move(establishment), {}};
  for (int i = 0; i < count; ++i) {
    sheet.vouchers.push_back({std::to_string(1000000 + i), 3600, "11.12.2026 18:00:00"});
  }
  return sheet;
}

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(VoucherPage, TenSlipsInsideTheA4PageThatNeverOverlap) {
  for (const ui::Size page : {ui::Size{4961, 7016} /* 600 dpi */, ui::Size{595, 842}}) {
    const std::vector<ui::Rect> slips = SlipRects(page);
    ASSERT_EQ(slips.size(), 10u);
    for (std::size_t i = 0; i < slips.size(); ++i) {
      const ui::Rect& s = slips[i];
      EXPECT_GT(s.left, 0);
      EXPECT_GT(s.top, 0);
      EXPECT_LT(s.right, page.cx);
      EXPECT_LT(s.bottom, page.cy);
      EXPECT_GT(s.Width(), page.cx / 3);
      for (std::size_t j = i + 1; j < slips.size(); ++j)
        EXPECT_FALSE(Overlap(s, slips[j])) << i << j;
    }
    // Two columns, five rows, read left to right, top to bottom.
    EXPECT_EQ(slips[0].top, slips[1].top);
    EXPECT_LT(slips[0].left, slips[1].left);
    EXPECT_LT(slips[1].top, slips[2].top);
  }
}

TEST(VoucherPage, EveryTextFitsItsSlipAndTheLastPageHoldsTheRest) {
  const VoucherSheet sheet = Sheet(23, "Internetová kavárna & knihovna U Staré Lípy v Dolní Lhotě");
  EXPECT_EQ(VoucherPageCount(sheet), 3);
  const ui::Size page{2480, 3508};  // 300 dpi
  const std::vector<ui::Rect> slips = SlipRects(page);
  for (int p = 0; p < 3; ++p) {
    MeasuringCanvas canvas;
    DrawVoucherPage(canvas, page, sheet, p);
    std::vector<std::string> codes;
    for (const ui::CanvasOp& op : canvas.rec.ops) {
      if (op.kind != ui::CanvasOp::Kind::Caption) continue;
      canvas.font = op.font;
      EXPECT_LE(canvas.TextExtent(op.text).cx, op.rect.Width()) << op.text;
      EXPECT_GE(op.font.height, 4);
      // Inside one slip.
      EXPECT_TRUE(std::any_of(slips.begin(), slips.end(), [&](const ui::Rect& s) {
        return op.rect.left >= s.left && op.rect.right <= s.right && op.rect.top >= s.top &&
               op.rect.bottom <= s.bottom;
      })) << op.text;
      if (op.font.name == "Courier New") {
        EXPECT_TRUE(op.font.bold);
        codes.push_back(op.text);
      }
    }
    const std::size_t expected = p < 2 ? 10 : 3;
    ASSERT_EQ(codes.size(), expected) << "page " << p;
    EXPECT_EQ(codes.front(), std::to_string(1000000 + p * 10));
    const auto texts = [&](std::string_view t) {
      return std::count_if(canvas.rec.ops.begin(), canvas.rec.ops.end(),
                           [&](const ui::CanvasOp& op) { return op.text == t; });
    };
    EXPECT_EQ(texts("Kód:"), static_cast<long>(expected));
    EXPECT_EQ(texts("1 h 00 min"), static_cast<long>(expected));
    EXPECT_EQ(texts("Platí do: 11.12.2026 18:00:00"), static_cast<long>(expected));
    EXPECT_EQ(texts("Zadejte kód na zamčené obrazovce a stiskněte Enter."),
              static_cast<long>(expected));
    // The establishment's own "&" is drawn as itself, not as an accelerator mark.
    EXPECT_EQ(texts("Internetová kavárna && knihovna U Staré Lípy v Dolní Lhotě"),
              static_cast<long>(expected));
  }
  MeasuringCanvas past;
  DrawVoucherPage(past, page, sheet, 3);
  EXPECT_TRUE(std::none_of(past.rec.ops.begin(), past.rec.ops.end(), [](const ui::CanvasOp& op) {
    return op.kind == ui::CanvasOp::Kind::Caption;
  }));
}

TEST(VoucherSheetText, TimesAndTheHtmlPage) {
  EXPECT_EQ(VoucherTime(3600), "1 h 00 min");
  EXPECT_EQ(VoucherTime(45 * 60 + 59), "0 h 45 min");
  EXPECT_EQ(VoucherTime(25 * 3600 + 30 * 60), "25 h 30 min");
  EXPECT_EQ(VoucherTime(-5), "0 h 00 min");

  VoucherSheet sheet = Sheet(12, "<Bar & Co>");
  sheet.vouchers[0].code = "a\"<b>";
  const std::string html = VoucherSheetHtml(sheet);
  auto count = [&](std::string_view part) {
    std::size_t n = 0;
    for (std::size_t at = html.find(part); at != std::string::npos; at = html.find(part, at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count("<div class=\"page\">"), 2u);
  EXPECT_EQ(count("<div class=\"slip\">"), 12u);
  EXPECT_EQ(count("&lt;Bar &amp; Co&gt;"), 13u);  // the title and every slip
  EXPECT_EQ(count("a&quot;&lt;b&gt;"), 1u);
  EXPECT_EQ(count("<b>"), 0u);
  EXPECT_EQ(count("Zadejte kód na zamčené obrazovce a stiskněte Enter."), 12u);
  EXPECT_EQ(count("Platí do: 11.12.2026 18:00:00"), 12u);
  EXPECT_NE(html.find("size: A4"), std::string::npos);
}

}  // namespace
}  // namespace sentavo::admin
