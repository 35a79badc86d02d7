#include "widgets/color_button.h"

#include <algorithm>
#include <utility>

namespace sentavo::widgets {
namespace {

char32_t UpperAscii(char32_t c) {
  return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

// The code point that starts at `s[i]` (UTF-8); a broken sequence yields its first byte.
char32_t CodePointAt(const std::string& s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
  if (i + static_cast<std::size_t>(extra) >= s.size()) return b0;
  char32_t cp = extra == 0 ? b0 : extra == 1 ? (b0 & 0x1F) : extra == 2 ? (b0 & 0x0F) : (b0 & 0x07);
  for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (byte(i + static_cast<std::size_t>(k)) & 0x3F);
  return cp;
}

}  // namespace

ColorButtonModel::ColorButtonModel(ColorButtonHost& host, ColorResolver resolve)
    : host_(host),
      resolve_(resolve ? std::move(resolve) : ColorResolver([](ui::TColor c) {
        return ui::ClassicSystemColor(ui::SystemColorIndex(c));
      })),
      color_(ui::clBlack) {
  // The table is built before the face colour is set, for black; Loaded builds it again.
  RebuildGradient();
  color_ = ui::clBtnFace;
  font_.color = ui::clBtnText;
  ComputeEdges();
}

void ColorButtonModel::Loaded() {
  RebuildGradient();
}

void ColorButtonModel::ComputeEdges() {
  const EdgeColors edges = ContrastColors(color_, (10 - contrastHighlight_) / 10.0,
                                          (10 - contrastShadow_) / 10.0, resolve_);
  highlight_ = edges.highlight;
  shadow_ = edges.shadow;
}

void ColorButtonModel::RebuildGradient() {
  gradient_ = BuildGradient(color_, gradientDirection_, resolve_);
}

void ColorButtonModel::SetColor(ui::TColor v) {
  const bool changed = v != color_;
  color_ = v;
  ComputeEdges();
  if (gradientStyle_ != TGradientStyle::gsNone) RebuildGradient();
  if (changed) host_.RequestRepaint();
}

void ColorButtonModel::SetContrastHighlight(int v) {
  if (v < 0 || v > 9) return;
  const bool changed = v != contrastHighlight_;
  contrastHighlight_ = v;
  ComputeEdges();
  if (gradientStyle_ != TGradientStyle::gsNone) RebuildGradient();
  if (changed) host_.RequestRepaint();
}

void ColorButtonModel::SetContrastShadow(int v) {
  if (v < 0 || v > 9) return;
  const bool changed = v != contrastShadow_;
  contrastShadow_ = v;
  ComputeEdges();
  if (gradientStyle_ != TGradientStyle::gsNone) RebuildGradient();
  if (changed) host_.RequestRepaint();
}

void ColorButtonModel::SetBevelWidth(int v) {
  if (v == bevelWidth_ || v < 0 || v >= height_ / 2 || v >= width_ / 2) return;
  bevelWidth_ = v;
  host_.RequestRepaint();
}

void ColorButtonModel::SetGradientStyle(TGradientStyle v) {
  if (v == gradientStyle_) return;
  gradientStyle_ = v;
  // Built here too, so that a gradient switched on after the colour changed shows that colour.
  if (v != TGradientStyle::gsNone) RebuildGradient();
  host_.RequestRepaint();
}

void ColorButtonModel::SetGradientDirection(TGradDirection v) {
  const bool changed = v != gradientDirection_;
  gradientDirection_ = v;
  RebuildGradient();
  if (changed) host_.RequestRepaint();
}

void ColorButtonModel::SetGlyph(const ui::PixelImage& v) {
  glyph_ = v;
  host_.RequestRepaint();
}

void ColorButtonModel::SetNumGlyphs(int v) {
  if (v < 0 || v > 4) return;
  SetAndRepaint(numGlyphs_, v);
}

void ColorButtonModel::SetCaption(const std::string& v) {
  SetAndRepaint(caption_, v);
}

void ColorButtonModel::SetFont(const ui::FontSpec& v) {
  SetAndRepaint(font_, v);
}

void ColorButtonModel::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (!v && pressed_) {  // a disabled button hears no release: end the press here
    pressed_ = false;
    host_.StopRepeatTimer();
  }
  if (!grouped_) SetDown(false);
  host_.RequestRepaint();
}

void ColorButtonModel::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  host_.RequestRepaint();
}

void ColorButtonModel::SetDown(bool v) {
  if (v == down_) return;
  down_ = v;
  if (gradientStyle_ != TGradientStyle::gsNone) {
    host_.RequestRepaint();
  } else {
    host_.PaintFrameNow(true);
  }
  if (OnStateChange) OnStateChange(*this);
}

void ColorButtonModel::MouseDown(TMouseButton button, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, x, y);
  if (button != TMouseButton::mbLeft || !enabled_) return;
  wasDown_ = down_;
  pressed_ = true;
  if (!down_) SetDown(true);
  if (allowTimer_) host_.StartRepeatTimer(timerDelay_);
}

void ColorButtonModel::MouseUp(TMouseButton button, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, x, y);
  // Only the release of a press that began on this button clicks it.
  if (button != TMouseButton::mbLeft || !enabled_ || !pressed_) return;
  pressed_ = false;
  if (down_ && (!grouped_ || (wasDown_ && allowAllUp_))) SetDown(false);
  host_.StopRepeatTimer();
  if (grouped_ && down_) {
    for (ColorButtonModel* other : host_.Siblings()) {
      if (other != this && other->grouped_ && other->groupIndex_ == groupIndex_ && other->down_) {
        other->SetDown(false);
      }
    }
  }
  if (OnClick) OnClick(*this);
}

void ColorButtonModel::CancelPress() {
  if (!pressed_) return;
  pressed_ = false;
  host_.StopRepeatTimer();
  if (!wasDown_) SetDown(false);
}

void ColorButtonModel::RepeatTimerTick() {
  host_.StartRepeatTimer(timerInterval_);
  if (!down_ || !enabled_ || !host_.HasMouseCapture()) return;
  try {
    if (OnClick) OnClick(*this);
  } catch (...) {
    host_.StopRepeatTimer();
    throw;
  }
}

bool ColorButtonModel::DialogChar(char32_t ch) {
  const std::size_t amp = caption_.find('&');
  if (amp == std::string::npos || amp + 1 >= caption_.size()) return false;
  if (UpperAscii(CodePointAt(caption_, amp + 1)) != UpperAscii(ch)) return false;
  if (enabled_ && OnClick) OnClick(*this);
  return true;
}

ui::TColor ColorButtonModel::GradientEntry(int i) const {
  const int index = std::clamp(i, 0, 255);
  return gradient_[static_cast<std::size_t>(changeDirection_ && down_ ? 255 - index : index)];
}

void ColorButtonModel::PaintGradient(ui::Canvas& c) {
  const int W = width_, H = height_;
  switch (gradientStyle_) {
    case TGradientStyle::gsVertical: {
      const int band = H / 255 + 1;
      for (int i = 0; i < 256; ++i) {
        const int y = i == 0 ? 0 : (i - 1) * H / 255;
        c.SetBrush(GradientEntry(i));
        c.FillRect({0, y, W, y + band});
      }
      break;
    }
    case TGradientStyle::gsHorizontal: {
      const int band = W / 255 + 1;
      for (int i = 0; i < 256; ++i) {
        const int x = i == 0 ? 0 : (i - 1) * W / 255;
        c.SetBrush(GradientEntry(i));
        c.FillRect({x, 0, x + band, H});
      }
      break;
    }
    case TGradientStyle::gsPyramid: {
      const ui::Point centre{W / 2, H / 2};
      // Entry trunc(k * 255 / (W + H)), in whole numbers so that the far corner is exactly 255.
      const auto entry = [&](int k) { return GradientEntry(W + H > 0 ? k * 255 / (W + H) : 0); };
      for (int x = 0; x <= W; ++x) {
        c.SetPen(entry(x));
        c.Polyline(std::array{ui::Point{x, 0}, centre});
        c.SetPen(entry(H + x));
        c.Polyline(std::array{centre, ui::Point{x, H - 1}});
      }
      for (int y = 0; y <= H; ++y) {
        c.SetPen(entry(W + y));
        c.Polyline(std::array{ui::Point{W - 1, y}, centre});
        c.SetPen(entry(y));
        c.Polyline(std::array{centre, ui::Point{0, y}});
      }
      break;
    }
    case TGradientStyle::gsNone: break;
  }
}

void ColorButtonModel::Paint(ui::Canvas& c) {
  const int shrink = bevelWidth_ + (borderStyle_ != TBorderStyle::bsFlat ? 1 : 0);
  const ui::Rect content = ui::Rect{0, 0, width_, height_}.Inflated(-shrink);
  const int t = content.top, r = content.right, b = content.bottom;
  c.SetFont(font_);
  c.SetBrush(color_);
  c.FillRect(content);
  const bool gradient = gradientStyle_ != TGradientStyle::gsNone;
  if (gradient) {
    PaintGradient(c);
    c.SetClearBrush();
  }

  const bool hasCaption = !caption_.empty();
  const ui::Size text = hasCaption ? c.TextExtent(caption_) : ui::Size{};
  const int tw = text.cx, th = text.cy, s = spacing_, m = margin_;
  const bool hasGlyph = numGlyphs_ > 0 && !glyph_.Empty();
  int gx = 0, gy = 0, gyUp = 0, gw = 0, gh = 0;
  if (hasGlyph) {
    gw = glyph_.width / numGlyphs_;
    gh = glyph_.height;
    int index = 0;
    if (!enabled_ && numGlyphs_ > 1) index = 1;
    if (down_ && numGlyphs_ > 2) index = 2;
    gx = (r - gw) / 2;  // the horizontal place uses only the right edge
    if (hasCaption && layout_ == TButtonLayout::blGlyphLeft) gx = (r - (tw + gw + s)) / 2 - m;
    if (hasCaption && layout_ == TButtonLayout::blGlyphRight) gx = (tw + gw + s + r) / 2 - gw + m;
    gy = (t + b - gh) / 2;
    if (hasCaption && layout_ == TButtonLayout::blGlyphTop) gy = (t + b - (th + gh + s)) / 2 - m;
    // Below the caption: the group's top plus the caption and the spacing.
    if (hasCaption && layout_ == TButtonLayout::blGlyphBottom) {
      gy = (t + b - (th + gh + s)) / 2 + th + s + m;
    }
    gyUp = gy;
    if (down_) {
      ++gx;
      ++gy;
      if (!gradient) {
        c.SetPen(color_);
        c.Polyline(std::array{ui::Point{gx - 1, gy + gh}, ui::Point{gx - 1, gy - 1},
                              ui::Point{gx + gw, gy - 1}});
      }
    } else if (!gradient) {
      c.SetPen(color_);
      c.Polyline(
          std::array{ui::Point{gx + gw, gy}, ui::Point{gx + gw, gy + gh}, ui::Point{gx, gy + gh}});
    }
    const int sx = index * gw;
    c.DrawImage(glyph_, {sx, 0, sx + gw, gh}, {gx, gy}, glyph_.At(sx, gh - 1));
  }

  if (hasCaption) {
    int x = (r - tw) / 2;
    if (hasGlyph && layout_ == TButtonLayout::blGlyphRight) x = gx - tw - s;
    if (hasGlyph && layout_ == TButtonLayout::blGlyphLeft) x = gx + gw + s;
    int y = (t + b - th) / 2 + (down_ && changeDirection_ ? -topMargin_ : topMargin_);
    if (hasGlyph && layout_ == TButtonLayout::blGlyphTop) y = gyUp + gh + s;
    if (hasGlyph && layout_ == TButtonLayout::blGlyphBottom) y = gyUp - th - s;
    if (down_) ++y;
    const ui::Rect box{x, y, x + tw, y + th};
    if (!gradient) {
      c.SetBrush(color_);
      c.FillRect(down_ ? box : box.Offset(1, 1));
    }
    c.DrawCaption(box, caption_, enabled_ ? font_.color : ui::clGrayText);
  }
  DrawFrame(c, false);
}

void ColorButtonModel::DrawFrame(ui::Canvas& c, bool moveContent) {
  int L = 0, T = 0, R = width_, B = height_;
  if (borderStyle_ == TBorderStyle::bsSingle) {
    c.FrameRect({L, T, R, B}, borderColor_);
    ++L, ++T, --R, --B;
  } else if (borderStyle_ == TBorderStyle::bsNormal) {
    c.SetPen(down_ ? borderColor_ : highlight_);
    c.Polyline(std::array{ui::Point{L, B - 1}, ui::Point{L, T}, ui::Point{R - 1, T}});
    c.SetPen(down_ ? highlight_ : borderColor_);
    c.Polyline(std::array{ui::Point{L, B - 1}, ui::Point{R - 1, B - 1}, ui::Point{R - 1, T}});
    ++L, ++T, --R, --B;
  }
  c.SetPen(down_ ? shadow_ : highlight_);
  for (int k = 0; k < bevelWidth_; ++k) {
    c.Polyline(std::array{ui::Point{R - 1 - k, T + k}, ui::Point{L + k, T + k},
                          ui::Point{L + k, B - 1 - k}});
  }
  c.SetPen(down_ ? highlight_ : shadow_);
  for (int k = 0; k < bevelWidth_; ++k) {
    c.Polyline(std::array{ui::Point{R - 1 - k, T + k}, ui::Point{R - 1 - k, B - 1 - k},
                          ui::Point{L + k, B - 1 - k}});
  }
  if (!moveContent) return;
  const int w = bevelWidth_;
  if (down_) {
    c.CopyRect({L + w, T + w, R - w - 1, B - w - 1}, {L + w + 1, T + w + 1});
  } else {
    c.CopyRect({L + w + 1, T + w + 1, R - w, B - w}, {L + w, T + w});
  }
}

}  // namespace sentavo::widgets
