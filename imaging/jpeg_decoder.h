// Decoding JPEG pictures (the lock window's backgrounds) to 8-bit RGB with libjpeg-turbo.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sentavo {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes a pixel (R, G, B)

  const std::uint8_t* At(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(x)) *
                               3;
  }
};

// Empty for anything libjpeg cannot decode (a damaged or truncated file, not a JPEG at all);
// `error` then says why. Pictures larger than 16384 pixels on a side are refused rather than
// allocated.
std::optional<RgbImage> DecodeJpeg(std::span<const std::uint8_t> data,
                                   std::string* error = nullptr);

// Where decoded rows go: the first row's memory and the distance from one row to the next, in
// bytes; no memory when there is none.
struct PixelRows {
  std::uint8_t* first = nullptr;
  std::size_t stride = 0;
};
// Gives the rows for a picture of `width` x `height` pixels, top row first.
using PixelTarget = std::function<PixelRows(int width, int height)>;

// Decodes straight into the rows `target` gives, each pixel three bytes (blue, green, red): the
// layout of a 24-bit Windows DIB, so that a picture needs no copy of its own on the way. The same
// pixels as DecodeJpeg. False as DecodeJpeg is empty, and when `target` gives no memory; the
// memory may then hold part of the picture.
bool DecodeJpegInto(std::span<const std::uint8_t> data, const PixelTarget& target,
                    std::string* error = nullptr);

}  // namespace sentavo
