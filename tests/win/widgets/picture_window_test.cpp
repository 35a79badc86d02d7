// Pictures on screen: a JPEG stretched by libjpeg-turbo (one graphic for two pictures), a PNG with
// its transparency over it, the other formats by extension, and a failed load that keeps the
// picture shown before.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "formats/wide_win.h"
#include "imaging/jpeg_decoder.h"
#include "widgets/link_label_win.h"
#include "widgets/picture_win.h"
#include "win_test_support.h"

namespace sentavo::widgets {
namespace {

using test::Hex;
using test::Near;

std::string TempPath(const std::string& name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return Narrow(dir) + name;
}

void WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

TEST(PictureWindow, JpegIsStretchedOverTheControl) {
  test::HostForm host;
  PictureBox pozadi;
  ASSERT_TRUE(pozadi.Create(host.hwnd(), 10, {0, 0, 128, 64}));
  std::string error;
  ASSERT_TRUE(pozadi.LoadFromMemory(test::RedBlueJpeg(), PictureKind::Jpeg, &error)) << error;
  EXPECT_EQ(pozadi.GetGraphic()->NaturalSize(), (ui::Size{32, 16}));
  const test::Snapshot img = test::Render(pozadi.hwnd());
  EXPECT_TRUE(Near(img.PixelAt(10, 10), ui::MakeColor(255, 0, 0), 12)) << Hex(img.PixelAt(10, 10));
  EXPECT_TRUE(Near(img.PixelAt(118, 54), ui::MakeColor(0, 0, 255), 12))
      << Hex(img.PixelAt(118, 54));
}

// What a JPEG background looks like: the decoded picture stretched over the box in halftone mode.
test::Snapshot HalftoneStretch(std::span<const std::uint8_t> jpeg, int width, int height) {
  const std::optional<RgbImage> rgb = DecodeJpeg(jpeg);
  EXPECT_TRUE(rgb);
  if (!rgb) return {};
  ui::Dib source(rgb->width, rgb->height);
  for (int y = 0; y < rgb->height; ++y) {
    for (int x = 0; x < rgb->width; ++x) {
      const std::uint8_t* p = rgb->At(x, y);
      source.At(x, y) = 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
    }
  }
  ui::DibCanvasTarget target(width, height);
  ui::MemoryDC from(nullptr);
  ui::SelectScope select(from.get(), source.get());
  SetStretchBltMode(target.dc(), HALFTONE);
  SetBrushOrgEx(target.dc(), 0, 0, nullptr);
  StretchBlt(target.dc(), 0, 0, width, height, from.get(), 0, 0, rgb->width, rgb->height, SRCCOPY);
  test::Snapshot s{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s.pixels.push_back(target.PixelAt(x, y));
  }
  return s;
}

// The lock window's two pages show one background graphic, kept as one bitmap at the size it is
// drawn: every repaint, of either picture and at any size, shows exactly what a halftone stretch
// of the decoded picture shows.
TEST(PictureWindow, OneJpegShownByTwoPicturesLooksAsStretchedAtEverySize) {
  test::HostForm host;
  PictureBox pozadi, pozadi2;
  ASSERT_TRUE(pozadi.Create(host.hwnd(), 10, {0, 0, 100, 50}));
  ASSERT_TRUE(pozadi2.Create(host.hwnd(), 11, {0, 60, 100, 50}));
  const std::shared_ptr<const Graphic> background =
      DecodeGraphic(test::RedBlueJpeg(), PictureKind::Jpeg);
  ASSERT_TRUE(background);
  pozadi.SetGraphic(background);
  pozadi2.SetGraphic(background);
  EXPECT_EQ(pozadi.GetGraphic(), pozadi2.GetGraphic());

  const test::Snapshot wide = HalftoneStretch(test::RedBlueJpeg(), 100, 50);
  for (int paint = 0; paint < 2; ++paint) {
    EXPECT_EQ(test::Render(pozadi.hwnd()).pixels, wide.pixels) << paint;
    EXPECT_EQ(test::Render(pozadi2.hwnd()).pixels, wide.pixels) << paint;
  }
  pozadi.SetBounds({0, 0, 40, 90});  // the display changed
  EXPECT_EQ(test::Render(pozadi.hwnd()).pixels,
            HalftoneStretch(test::RedBlueJpeg(), 40, 90).pixels);
  pozadi.SetBounds({0, 0, 100, 50});
  EXPECT_EQ(test::Render(pozadi.hwnd()).pixels, wide.pixels);
}

TEST(PictureWindow, PngWithTransparencyShowsThePictureBelowIt) {
  test::HostForm host;
  PictureBox logo, pozadi;
  // The logo is made first, so it lies above the background in the sibling order.
  ASSERT_TRUE(logo.Create(host.hwnd(), 11, {0, 0, 96, 96}));
  ASSERT_TRUE(pozadi.Create(host.hwnd(), 10, {0, 0, 192, 96}));
  pozadi.SendToBack();
  ASSERT_TRUE(pozadi.LoadFromMemory(test::RedBlueJpeg(), PictureKind::Jpeg));
  std::string error;
  ASSERT_TRUE(logo.LoadFromMemory(test::AlphaDiscPng(), PictureKind::Png, &error)) << error;
  logo.SetTransparent(true);
  const test::Snapshot img = test::Render(logo.hwnd());
  // Corners: fully transparent, the red half of the background shows.
  EXPECT_TRUE(Near(img.PixelAt(3, 3), ui::MakeColor(255, 0, 0), 12)) << Hex(img.PixelAt(3, 3));
  EXPECT_TRUE(Near(img.PixelAt(80, 92), ui::MakeColor(255, 0, 0), 12)) << Hex(img.PixelAt(80, 92));
  // The middle: the opaque green disc.
  EXPECT_TRUE(Near(img.PixelAt(48, 48), ui::MakeColor(0, 160, 0), 4)) << Hex(img.PixelAt(48, 48));
  // The ring: half white over red.
  EXPECT_TRUE(Near(img.PixelAt(48, 48 - 30), ui::MakeColor(255, 128, 128), 12))
      << Hex(img.PixelAt(48, 18));
}

TEST(PictureWindow, FilesByExtensionAndFailuresKeepThePreviousPicture) {
  test::HostForm host;
  PictureBox p;
  ASSERT_TRUE(p.Create(host.hwnd(), 10, {0, 0, 64, 32}));
  const std::string jpg = TempPath("sentavo-test-pozadi.JPG");
  WriteFile(jpg, test::RedBlueJpeg());
  ASSERT_TRUE(p.LoadFromFile(jpg));
  const Graphic* shown = p.GetGraphic();

  std::string error;
  const std::string broken = TempPath("sentavo-test-broken.jpeg");
  const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'};
  WriteFile(broken, junk);
  EXPECT_FALSE(p.LoadFromFile(broken, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(p.LoadFromFile(TempPath("sentavo-test-missing.bmp")));
  EXPECT_FALSE(p.LoadFromFile(TempPath("picture.gif")));
  EXPECT_EQ(p.GetGraphic(), shown);

  // A plain 24-bit bitmap file, 4 x 2 pixels of blue.
  const std::string bmp = TempPath("sentavo-test.bmp");
  {
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = 4;
    ih.biHeight = 2;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    const std::uint8_t row[12] = {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0};  // B, G, R
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + 2 * sizeof row;
    std::ofstream out(std::filesystem::path(Widen(bmp)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
    for (int y = 0; y < 2; ++y) out.write(reinterpret_cast<const char*>(row), sizeof row);
  }
  ASSERT_TRUE(p.LoadFromFile(bmp));
  EXPECT_EQ(Hex(test::Render(p.hwnd()).PixelAt(30, 15)), Hex(ui::MakeColor(0, 0, 255)));

  // An enhanced metafile drawn by GDI: a filled green rectangle.
  const std::string emf = TempPath("sentavo-test.emf");
  {
    const HDC rec = CreateEnhMetaFileW(nullptr, Widen(emf).c_str(), nullptr, nullptr);
    RECT r{0, 0, 40, 20};
    ui::Brush green(CreateSolidBrush(RGB(0, 200, 0)));
    FillRect(rec, &r, green.get());
    DeleteEnhMetaFile(CloseEnhMetaFile(rec));
  }
  ASSERT_TRUE(p.LoadFromFile(emf));
  EXPECT_EQ(Hex(test::Render(p.hwnd()).PixelAt(32, 16)), Hex(ui::MakeColor(0, 200, 0)));
  for (const std::string& f : {jpg, broken, bmp, emf}) DeleteFileW(Widen(f).c_str());
}

TEST(LinkLabelWindow, PressOpensTheAddressThenReportsTheClick) {
  test::HostForm host;
  TLinkLabel link;
  ASSERT_TRUE(link.Create(host.hwnd(), 10, {0, 0, 300, 40}, "Objednat Sentavo můžete zde...",
                          "https://example.invalid/objednat"));
  std::vector<std::string> log;
  link.SetOpener([&](const std::string& address) {
    log.push_back("open " + address);
    return true;
  });
  link.OnClick = [&] { log.push_back("click"); };
  SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(log, (std::vector<std::string>{"open https://example.invalid/objednat", "click"}));
  EXPECT_TRUE(link.LastOpenSucceeded());
  EXPECT_EQ(link.Text(), "Objednat Sentavo můžete zde...");
  // The text is drawn in the link colour on what is behind (the black host).
  const test::Snapshot img = test::Render(link.hwnd());
  int linkPixels = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 300; ++x) linkPixels += img.PixelAt(x, y) == ui::MakeColor(0, 102, 255);
  }
  EXPECT_GT(linkPixels, 20);
  EXPECT_EQ(Hex(img.PixelAt(299, 39)), Hex(ui::clBlack));
}

}  // namespace
}  // namespace sentavo::widgets
