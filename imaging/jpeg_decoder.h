// Decoding JPEG pictures (the lock window's backgrounds) to 8-bit RGB with libjpeg-turbo.
#pragma once

#include <cstdint>
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

}  // namespace sentavo
