// Scoped owners of GDI handles: every DeleteObject, SelectObject, ReleaseDC, EndPaint and DeleteDC
// of ours happens in one of these destructors.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

namespace sentavo::ui {

// Owns one pen, brush, font, bitmap or region.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(H handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;

// Selects an object into a DC and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// GetDC (or GetWindowDC) / ReleaseDC.
class ClientDC {
 public:
  explicit ClientDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  // The whole window, its frame included.
  static ClientDC OfWholeWindow(HWND hwnd) { return ClientDC(hwnd, GetWindowDC(hwnd)); }
  ~ClientDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  ClientDC(const ClientDC&) = delete;
  ClientDC& operator=(const ClientDC&) = delete;
  HDC get() const { return dc_; }

 private:
  ClientDC(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC get() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// CreateCompatibleDC / DeleteDC.
class MemoryDC {
 public:
  explicit MemoryDC(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A 32-bit top-down DIB section: pixels as 0xAARRGGBB words, readable and writable directly.
class Dib {
 public:
  Dib() = default;
  Dib(int width, int height);
  Dib(Dib&&) noexcept = default;
  Dib& operator=(Dib&&) noexcept = default;

  bool Valid() const { return static_cast<bool>(bitmap_); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP get() const { return bitmap_.get(); }
  std::uint32_t* Bits() const { return bits_; }
  std::uint32_t& At(int x, int y) const { return bits_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  BitmapHandle bitmap_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A memory DC with a DIB selected into it: off-screen drawing that can be read back.
class DibCanvasTarget {
 public:
  DibCanvasTarget(int width, int height);
  bool Valid() const { return dib_.Valid() && dc_.get(); }
  HDC dc() const { return dc_.get(); }
  const Dib& dib() const { return dib_; }
  // 0x00BBGGRR, as GetPixel gives it.
  std::uint32_t PixelAt(int x, int y) const;

 private:
  Dib dib_;
  MemoryDC dc_{nullptr};
  SelectScope select_;
};

// The off-screen picture of a double-buffered repaint: a bitmap compatible with the window's DC.
class OffscreenBuffer {
 public:
  OffscreenBuffer(HDC reference, int width, int height);
  ~OffscreenBuffer();
  OffscreenBuffer(const OffscreenBuffer&) = delete;
  OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

  bool Valid() const { return static_cast<bool>(bitmap_) && dc_.get(); }
  HDC dc() const { return dc_.get(); }
  // Copies the whole buffer to `target` at (0, 0).
  void CopyTo(HDC target) const;

 private:
  int width_, height_;
  MemoryDC dc_;
  BitmapHandle bitmap_;
  HGDIOBJ old_ = nullptr;
};

// A solid brush of a plain colour (0x00BBGGRR), remade only when the colour changes.
class SolidBrushCache {
 public:
  HBRUSH Get(COLORREF color);

 private:
  Brush brush_;
  COLORREF color_ = 0;
};

}  // namespace sentavo::ui
