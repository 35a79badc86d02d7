#include "widgets/picture_win.h"

// GDI+ reads its interfaces from objidl.h, which WIN32_LEAN_AND_MEAN leaves out of windows.h.
#include <objidl.h>
#include <shlwapi.h>
// clang-format off
#include <gdiplus.h>
// clang-format on

#include <algorithm>
#include <utility>
#include <vector>

#include "formats/wide_win.h"
#include "imaging/jpeg_decoder.h"
#include "ui/gdi_canvas_win.h"
#include "ui/system_dll_win.h"

namespace sentavo::widgets {
namespace {

namespace gp = Gdiplus::DllExports;

// A raster picture as a 32-bit DIB; with `alpha`, premultiplied and drawn blended.
class DibGraphic final : public Graphic {
 public:
  DibGraphic(ui::Dib dib, bool alpha) : dib_(std::move(dib)), alpha_(alpha) {}
  ui::Size NaturalSize() const override { return {dib_.Width(), dib_.Height()}; }
  void Draw(HDC dc, const RECT& d) const override {
    ui::MemoryDC mem(dc);
    ui::SelectScope select(mem.get(), dib_.get());
    const int w = d.right - d.left, h = d.bottom - d.top;
    if (alpha_) {
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      AlphaBlend(dc, d.left, d.top, w, h, mem.get(), 0, 0, dib_.Width(), dib_.Height(), blend);
    } else {
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, d.left, d.top, w, h, mem.get(), 0, 0, dib_.Width(), dib_.Height(), SRCCOPY);
    }
  }

 private:
  ui::Dib dib_;
  bool alpha_;
};

class MetafileGraphic final : public Graphic {
 public:
  explicit MetafileGraphic(HENHMETAFILE emf) : emf_(emf) {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(emf_, sizeof header, &header);
    size_ = {header.rclBounds.right - header.rclBounds.left + 1,
             header.rclBounds.bottom - header.rclBounds.top + 1};
  }
  ~MetafileGraphic() override { DeleteEnhMetaFile(emf_); }
  MetafileGraphic(const MetafileGraphic&) = delete;
  MetafileGraphic& operator=(const MetafileGraphic&) = delete;
  ui::Size NaturalSize() const override { return size_; }
  void Draw(HDC dc, const RECT& dest) const override { PlayEnhMetaFile(dc, emf_, &dest); }

 private:
  HENHMETAFILE emf_;
  ui::Size size_;
};

class IconGraphic final : public Graphic {
 public:
  explicit IconGraphic(HICON icon) : icon_(icon) {
    ICONINFO info{};
    if (GetIconInfo(icon_, &info)) {
      BITMAP bm{};
      GetObjectW(info.hbmMask, sizeof bm, &bm);
      size_ = {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
  }
  ~IconGraphic() override { DestroyIcon(icon_); }
  IconGraphic(const IconGraphic&) = delete;
  IconGraphic& operator=(const IconGraphic&) = delete;
  ui::Size NaturalSize() const override { return size_; }
  void Draw(HDC dc, const RECT& d) const override {
    DrawIconEx(dc, d.left, d.top, icon_, d.right - d.left, d.bottom - d.top, 0, nullptr, DI_NORMAL);
  }

 private:
  HICON icon_;
  ui::Size size_;
};

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  std::optional<std::vector<std::uint8_t>> out;
  if (GetFileSizeEx(file, &size) && size.QuadPart < 256LL * 1024 * 1024) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (bytes.empty() ||
        (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
         got == bytes.size())) {
      out = std::move(bytes);
    }
  }
  CloseHandle(file);
  return out;
}

// A 24-bit top-down DIB section: a JPEG's pixels take three bytes here, not four.
class RgbDib {
 public:
  RgbDib() = default;
  RgbDib(int width, int height) {
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) return;
    bits_ = static_cast<std::uint8_t*>(bits);
    width_ = width;
    height_ = height;
  }
  bool Valid() const { return static_cast<bool>(bitmap_); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP get() const { return bitmap_.get(); }
  // Rows of a DIB are padded to whole 32-bit words.
  PixelRows Rows() const {
    return {bits_, (static_cast<std::size_t>(width_) * 3 + 3) & ~std::size_t{3}};
  }

 private:
  ui::BitmapHandle bitmap_;
  std::uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// The JPEG decoded straight into a DIB; an empty one when it does not decode.
RgbDib DecodeJpegDib(std::span<const std::uint8_t> bytes, std::string* error) {
  RgbDib dib;
  const bool decoded = DecodeJpegInto(
      bytes,
      [&](int width, int height) {
        dib = RgbDib(width, height);
        return dib.Valid() ? dib.Rows() : PixelRows{};
      },
      error);
  return decoded ? std::move(dib) : RgbDib();
}

// A JPEG background kept as one bitmap at the size it is drawn. The file's bytes are decoded when
// loaded, so that a picture that does not decode is refused then; the first draw (or Prepare, where
// the size is known before) stretches that decode once, as every draw used to (halftone), and lets
// it go. A draw at another size (a change of the display) decodes the bytes again.
class JpegGraphic final : public Graphic {
 public:
  JpegGraphic(std::vector<std::uint8_t> bytes, RgbDib decoded)
      : bytes_(std::move(bytes)),
        size_{decoded.Width(), decoded.Height()},
        decoded_(std::move(decoded)) {}
  ui::Size NaturalSize() const override { return size_; }
  bool Opaque() const override { return true; }
  void Prepare(int w, int h) const override {
    if (w > 0 && h > 0 && (!drawn_.Valid() || drawn_.Width() != w || drawn_.Height() != h))
      Scale(w, h);
  }
  // Only the part that shows is copied, a band of rows at a time: a copy into the screen's format
  // goes through a converted copy of what it copies (Wine makes one), which is then a band's worth,
  // not a whole screen's.
  void Draw(HDC dc, const RECT& d) const override {
    const int w = d.right - d.left, h = d.bottom - d.top;
    Prepare(w, h);
    if (!drawn_.Valid() || drawn_.Width() != w || drawn_.Height() != h) return;
    RECT shown = d;
    RECT clip{};
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&shown, &d, &clip)) return;
    ui::MemoryDC mem(dc);
    ui::SelectScope select(mem.get(), drawn_.get());
    constexpr int kBandRows = 64;
    for (int top = shown.top; top < shown.bottom; top += kBandRows) {
      const int rows = std::min(kBandRows, static_cast<int>(shown.bottom) - top);
      BitBlt(dc, shown.left, top, shown.right - shown.left, rows, mem.get(), shown.left - d.left,
             top - d.top, SRCCOPY);
    }
  }

 private:
  void Scale(int w, int h) const {
    RgbDib source = std::exchange(decoded_, RgbDib());
    drawn_ = RgbDib();  // one bitmap of the picture at a time beside the decode
    if (!source.Valid()) source = DecodeJpegDib(bytes_, nullptr);
    if (!source.Valid()) return;
    RgbDib target(w, h);
    if (!target.Valid()) return;
    {
      ui::MemoryDC from(nullptr), to(nullptr);
      ui::SelectScope selectFrom(from.get(), source.get());
      ui::SelectScope selectTo(to.get(), target.get());
      SetStretchBltMode(to.get(), HALFTONE);
      SetBrushOrgEx(to.get(), 0, 0, nullptr);
      StretchBlt(to.get(), 0, 0, w, h, from.get(), 0, 0, source.Width(), source.Height(), SRCCOPY);
      GdiFlush();
    }
    drawn_ = std::move(target);
  }

  std::vector<std::uint8_t> bytes_;
  ui::Size size_;
  mutable RgbDib decoded_;  // until the first stretch
  mutable RgbDib drawn_;    // at the size last drawn
};

std::unique_ptr<Graphic> FromJpeg(std::span<const std::uint8_t> bytes, std::string* error) {
  RgbDib dib = DecodeJpegDib(bytes, error);
  if (!dib.Valid()) return nullptr;
  return std::make_unique<JpegGraphic>(std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                                       std::move(dib));
}

// GDI+ is loaded and started for the whole process when the first PNG is read, not with the
// program: most runs never show one.
struct GdiplusFunctions {
  decltype(&Gdiplus::GdiplusStartup) startup =
      ui::SystemFunction<decltype(startup)>(L"gdiplus.dll", "GdiplusStartup");
  decltype(&gp::GdipCreateBitmapFromStream) createFromStream =
      ui::SystemFunction<decltype(createFromStream)>(L"gdiplus.dll", "GdipCreateBitmapFromStream");
  decltype(&gp::GdipGetImageWidth) width =
      ui::SystemFunction<decltype(width)>(L"gdiplus.dll", "GdipGetImageWidth");
  decltype(&gp::GdipGetImageHeight) height =
      ui::SystemFunction<decltype(height)>(L"gdiplus.dll", "GdipGetImageHeight");
  decltype(&gp::GdipBitmapLockBits) lockBits =
      ui::SystemFunction<decltype(lockBits)>(L"gdiplus.dll", "GdipBitmapLockBits");
  decltype(&gp::GdipBitmapUnlockBits) unlockBits =
      ui::SystemFunction<decltype(unlockBits)>(L"gdiplus.dll", "GdipBitmapUnlockBits");
  decltype(&gp::GdipDisposeImage) dispose =
      ui::SystemFunction<decltype(dispose)>(L"gdiplus.dll", "GdipDisposeImage");
  bool started = false;

  GdiplusFunctions() {
    if (!startup || !createFromStream || !width || !height || !lockBits || !unlockBits || !dispose)
      return;
    ULONG_PTR token = 0;
    const Gdiplus::GdiplusStartupInput input;
    started = startup(&token, &input, nullptr) == Gdiplus::Ok;
  }
};

// Null when GDI+ is missing or does not start.
const GdiplusFunctions* StartedGdiplus() {
  static const GdiplusFunctions gdiplus;
  return gdiplus.started ? &gdiplus : nullptr;
}

std::unique_ptr<Graphic> FromPng(std::span<const std::uint8_t> bytes, std::string* error) {
  const GdiplusFunctions* gdip = StartedGdiplus();
  if (!gdip) {
    SetError(error, "GDI+ is not available");
    return nullptr;
  }
  IStream* stream = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
  if (!stream) {
    SetError(error, "out of memory");
    return nullptr;
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  const Gdiplus::GpStatus status = gdip->createFromStream(stream, &bitmap);
  stream->Release();
  if (status != Gdiplus::Ok || !bitmap) {
    SetError(error, "not a picture GDI+ can read");
    return nullptr;
  }
  UINT w = 0, h = 0;
  gdip->width(bitmap, &w);
  gdip->height(bitmap, &h);
  std::unique_ptr<Graphic> out;
  ui::Dib dib(static_cast<int>(w), static_cast<int>(h));
  Gdiplus::BitmapData data{};
  const Gdiplus::GpRect rect(0, 0, static_cast<INT>(w), static_cast<INT>(h));
  if (dib.Valid() && gdip->lockBits(bitmap, &rect, Gdiplus::ImageLockModeRead,
                                    PixelFormat32bppPARGB, &data) == Gdiplus::Ok) {
    for (UINT y = 0; y < h; ++y) {
      const auto* row =
          reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(data.Scan0) +
                                                 static_cast<std::ptrdiff_t>(y) * data.Stride);
      std::copy(row, row + w, &dib.At(0, static_cast<int>(y)));
    }
    gdip->unlockBits(bitmap, &data);
    out = std::make_unique<DibGraphic>(std::move(dib), true);
  } else {
    SetError(error, "the picture's pixels cannot be read");
  }
  gdip->dispose(bitmap);
  return out;
}

std::unique_ptr<Graphic> FromBitmapFile(const std::string& path, std::string* error) {
  ui::BitmapHandle bitmap(static_cast<HBITMAP>(LoadImageW(
      nullptr, Widen(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap.get(), sizeof bm, &bm)) {
    SetError(error, "not a bitmap");
    return nullptr;
  }
  ui::Dib dib(bm.bmWidth, bm.bmHeight);
  if (!dib.Valid()) return nullptr;
  ui::MemoryDC src(nullptr), dst(nullptr);
  ui::SelectScope s1(src.get(), bitmap.get());
  ui::SelectScope s2(dst.get(), dib.get());
  BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
  GdiFlush();
  return std::make_unique<DibGraphic>(std::move(dib), false);
}

std::unique_ptr<Graphic> FromWmf(std::span<const std::uint8_t> bytes, std::string* error) {
  // A placeable metafile starts with a 22-byte header of its own before the Windows metafile.
  constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
  std::size_t skip = 0;
  if (bytes.size() >= 22 && (bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                             static_cast<std::uint32_t>(bytes[3]) << 24) == kPlaceableKey) {
    skip = 22;
  }
  if (bytes.size() <= skip) {
    SetError(error, "not a metafile");
    return nullptr;
  }
  const HENHMETAFILE emf = SetWinMetaFileBits(static_cast<UINT>(bytes.size() - skip),
                                              bytes.data() + skip, nullptr, nullptr);
  if (!emf) {
    SetError(error, "not a metafile");
    return nullptr;
  }
  return std::make_unique<MetafileGraphic>(emf);
}

}  // namespace

std::unique_ptr<Graphic> DecodeGraphic(std::span<const std::uint8_t> bytes, PictureKind kind,
                                       std::string* error) {
  switch (kind) {
    case PictureKind::Jpeg: return FromJpeg(bytes, error);
    case PictureKind::Png: return FromPng(bytes, error);
    case PictureKind::Wmf: return FromWmf(bytes, error);
    case PictureKind::Emf: {
      const HENHMETAFILE emf = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
      if (!emf) {
        SetError(error, "not an enhanced metafile");
        return nullptr;
      }
      return std::make_unique<MetafileGraphic>(emf);
    }
    case PictureKind::Icon:
    case PictureKind::Bitmap:
    case PictureKind::Unknown: break;
  }
  SetError(error, "not a picture format that can be read from memory");
  return nullptr;
}

std::unique_ptr<Graphic> LoadGraphicFile(const std::string& path, std::string* error) {
  const PictureKind kind = PictureKindOf(path);
  switch (kind) {
    case PictureKind::Unknown: SetError(error, "unknown picture file extension"); return nullptr;
    case PictureKind::Bitmap: return FromBitmapFile(path, error);
    case PictureKind::Icon: {
      const HICON icon = static_cast<HICON>(
          LoadImageW(nullptr, Widen(path).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
      if (!icon) {
        SetError(error, "not an icon");
        return nullptr;
      }
      return std::make_unique<IconGraphic>(icon);
    }
    case PictureKind::Emf: {
      const HENHMETAFILE emf = GetEnhMetaFileW(Widen(path).c_str());
      if (!emf) {
        SetError(error, "not an enhanced metafile");
        return nullptr;
      }
      return std::make_unique<MetafileGraphic>(emf);
    }
    case PictureKind::Wmf:
    case PictureKind::Jpeg:
    case PictureKind::Png: {
      const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
      if (!bytes) {
        SetError(error, "the file cannot be read");
        return nullptr;
      }
      return DecodeGraphic(*bytes, kind, error);
    }
  }
  return nullptr;
}

// ---- PictureBox

bool PictureBox::Create(HWND parent, int id, const ui::Bounds& bounds) {
  ui::WindowSpec desc = ui::WindowSpec::Child(parent, id, bounds);
  desc.className = L"SentavoPicture";
  return ui::Window::Create(desc);
}

bool PictureBox::LoadFromFile(const std::string& path, std::string* error) {
  std::unique_ptr<Graphic> g = LoadGraphicFile(path, error);
  if (!g) return false;
  SetGraphic(std::move(g));
  return true;
}

bool PictureBox::LoadFromMemory(std::span<const std::uint8_t> bytes, PictureKind kind,
                                std::string* error) {
  std::unique_ptr<Graphic> g = DecodeGraphic(bytes, kind, error);
  if (!g) return false;
  SetGraphic(std::move(g));
  return true;
}

void PictureBox::SetGraphic(std::shared_ptr<const Graphic> graphic) {
  if (graphic == graphic_) return;
  graphic_ = std::move(graphic);
  Changed();
}

void PictureBox::Clear() {
  if (!graphic_) return;
  graphic_.reset();
  Changed();
}

void PictureBox::SetFit(PictureFit fit) {
  fit_ = fit;
  Changed();
}

void PictureBox::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Changed();
}

void PictureBox::SetColor(ui::TColor color) {
  color_ = color;
  Changed();
}

void PictureBox::Changed() {
  if (!hwnd()) return;
  // Transparent controls above this one show it through: they repaint too.
  const HWND parent = Parent();
  RECT r;
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void PictureBox::Prepare() {
  if (!graphic_ || transparent_ || !graphic_->Opaque()) return;
  const ui::Size size = ClientSize();
  const ui::Rect r = FitPicture(graphic_->NaturalSize(), {0, 0, size.cx, size.cy}, fit_);
  graphic_->Prepare(r.Width(), r.Height());
}

void PictureBox::PaintTo(HDC target) {
  const ui::Size size = ClientSize();
  // An empty transparent picture (the lock window's logo without its file) is what lies behind it;
  // a buffer of its size (the whole page) would only hold a copy of that.
  if (transparent_ && !graphic_) {
    ui::PaintBehind(hwnd(), target);
    return;
  }
  if (graphic_ && !transparent_ && graphic_->Opaque()) {
    const ui::Rect r = FitPicture(graphic_->NaturalSize(), {0, 0, size.cx, size.cy}, fit_);
    if (r.left <= 0 && r.top <= 0 && r.right >= size.cx && r.bottom >= size.cy) {
      graphic_->Draw(target, RECT{r.left, r.top, r.right, r.bottom});
      return;
    }
  }
  ui::OffscreenBuffer buffer(target, size.cx, size.cy);
  const HDC dc = buffer.Valid() ? buffer.dc() : target;
  if (transparent_) {
    ui::PaintBehind(hwnd(), dc);
  } else {
    const RECT all{0, 0, size.cx, size.cy};
    ui::Brush back(CreateSolidBrush(ui::ToColorRef(color_)));
    FillRect(dc, &all, back.get());
  }
  if (graphic_) {
    const ui::Rect r = FitPicture(graphic_->NaturalSize(), {0, 0, size.cx, size.cy}, fit_);
    graphic_->Draw(dc, RECT{r.left, r.top, r.right, r.bottom});
  }
  if (buffer.Valid()) buffer.CopyTo(target);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      ui::PaintScope ps(hwnd());
      PaintTo(ps.get());
      return 0;
    }
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wp)); return 0;
    // For a control above: what lies below this picture is painted already, and an empty
    // transparent one adds nothing to it.
    case ui::kPaintForSibling:
      if (transparent_ && !graphic_) return 0;
      PaintTo(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SIZE: Invalidate(); return 0;
    case WM_LBUTTONDOWN: pressed_ = true; return 0;
    case WM_LBUTTONUP:
      if (pressed_ && OnClick) OnClick();
      pressed_ = false;
      return 0;
    default: return ui::Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace sentavo::widgets
