#include "ui/gdi_win.h"

namespace sentavo::ui {

Dib::Dib(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

DibCanvasTarget::DibCanvasTarget(int width, int height)
    : dib_(width, height), dc_(nullptr), select_(dc_.get(), dib_.get()) {}

std::uint32_t DibCanvasTarget::PixelAt(int x, int y) const {
  GdiFlush();
  const std::uint32_t argb = dib_.At(x, y);
  return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

OffscreenBuffer::OffscreenBuffer(HDC reference, int width, int height)
    : width_(width), height_(height), dc_(reference) {
  if (!dc_.get() || width <= 0 || height <= 0) return;
  bitmap_.Reset(CreateCompatibleBitmap(reference, width, height));
  if (bitmap_) old_ = SelectObject(dc_.get(), bitmap_.get());
}

OffscreenBuffer::~OffscreenBuffer() {
  if (old_) SelectObject(dc_.get(), old_);
}

void OffscreenBuffer::CopyTo(HDC target) const {
  BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

HBRUSH SolidBrushCache::Get(COLORREF color) {
  if (!brush_ || color != color_) {
    brush_.Reset(CreateSolidBrush(color));
    color_ = color;
  }
  return brush_.get();
}

}  // namespace sentavo::ui
