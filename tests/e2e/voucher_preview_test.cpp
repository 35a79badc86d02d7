// The voucher page drawn by Windows' GDI, as the preview and the printer draw it: into a bitmap of
// an A4 page at 100 dpi, saved as a PNG for a person to look at. Each slip is framed where the
// layout puts it, and each holds its code's ink.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "administration/voucher_page.h"
#include "driver_win.h"
#include "ui/gdi_canvas_win.h"

namespace sentavo::e2e {
namespace {

TEST(VoucherPreview, TheFirstPageOfTwelveCodesDrawnByGdi) {
  VoucherSheet sheet{"Kavárna U Lípy", {}};
  for (int i = 0; i < 12; ++i) {
    sheet.vouchers.push_back({std::to_string(827533966 + i * 7919), 3600, "11.12.2026 18:00:00"});
  }
  const ui::Size page{827, 1169};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = page.cx;
  info.bmiHeader.biHeight = -page.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  {
    ui::GdiCanvas canvas(dc);
    admin::DrawVoucherPage(canvas, page, sheet, 0);
  }
  GdiFlush();
  const auto* px = static_cast<const std::uint32_t*>(bits);
  const std::vector<std::uint32_t> pixels(px, px + static_cast<std::size_t>(page.cx) * page.cy);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);

  auto at = [&](int x, int y) {
    return pixels[static_cast<std::size_t>(y) * page.cx + x] & 0xFFFFFF;
  };
  EXPECT_EQ(at(2, 2), 0xFFFFFFu) << "the page is white";
  for (const ui::Rect& s : admin::SlipRects(page)) {
    // The cut line in grey at the slip's corner.
    EXPECT_EQ(at(s.left, s.top), 0x808080u);
    EXPECT_EQ(at(s.right - 1, s.bottom - 1), 0x808080u);
    // Dark ink in the middle band, where the code is.
    int ink = 0;
    const int top = s.top + (s.bottom - s.top) * 35 / 100,
              bottom = s.top + (s.bottom - s.top) * 55 / 100;
    for (int y = top; y < bottom; ++y) {
      for (int x = s.left + 2; x < s.right - 2; ++x) ink += at(x, y) == 0 ? 1 : 0;
    }
    EXPECT_GT(ink, 200) << "no code drawn in the slip at " << s.left << "," << s.top;
  }
  const std::filesystem::path dir = FromBuild(SENTAVO_SCREENSHOT_DIR);
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(SavePng(page.cx, page.cy, pixels, (dir / "voucher-page.png").string()));
}

}  // namespace
}  // namespace sentavo::e2e
