// What the drawn controls paint on. The models compute what to draw and paint it through this
// interface: the GDI implementation draws on a device context, the recording double keeps a list
// of the calls for the tests.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/color.h"
#include "ui/geometry.h"

namespace sentavo::ui {

// A font as the forms describe it; `height` is the character height in pixels ("a 13-pixel font").
struct FontSpec {
  std::string name = "Tahoma";
  int height = 11;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  TColor color = clWindowText;
  bool operator==(const FontSpec&) const = default;
};

// A small picture held as plain pixels (glyphs), rows top to bottom, 0x00BBGGRR each.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<TColor> pixels;

  bool Empty() const { return width <= 0 || height <= 0; }
  TColor At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
  bool operator==(const PixelImage&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // A system colour code becomes the system's current colour; a plain colour stays.
  virtual TColor Resolve(TColor color) const = 0;

  virtual void SetPen(TColor color) = 0;    // solid, one pixel wide
  virtual void SetBrush(TColor color) = 0;  // solid
  virtual void SetClearBrush() = 0;         // fills leave what is below
  virtual void SetFont(const FontSpec& font) = 0;

  // Fills with the brush; right and bottom excluded.
  virtual void FillRect(const Rect& r) = 0;
  // A one-pixel frame inside `r` in `color`.
  virtual void FrameRect(const Rect& r, TColor color) = 0;
  // Filled with the brush and outlined with the pen.
  virtual void Polygon(std::span<const Point> points) = 0;
  // Several polygons in one call, `counts[i]` points each, one after another in `points`: filled
  // and outlined as Polygon would each, provided that no two of them overlap.
  virtual void PolyPolygon(std::span<const Point> points, std::span<const int> counts) = 0;
  virtual void Ellipse(const Rect& box) = 0;
  // Joined lines in the pen; the last point itself is not drawn.
  virtual void Polyline(std::span<const Point> points) = 0;

  // Size of a single-line caption in the current font; an "&" that marks the accelerator letter
  // takes no room.
  virtual Size TextExtent(std::string_view text) = 0;
  // A caption centred in `box` on one line, transparent background, "&" underlining the next
  // letter.
  virtual void DrawCaption(const Rect& box, std::string_view text, TColor color) = 0;

  // Copies `src` of this canvas so that its top-left corner lands on `dest`.
  virtual void CopyRect(const Rect& src, Point dest) = 0;
  // Draws the part `src` of `image` at `dest`; pixels of `transparent` leave what is below.
  virtual void DrawImage(const PixelImage& image, const Rect& src, Point dest,
                         std::optional<TColor> transparent) = 0;
};

}  // namespace sentavo::ui
