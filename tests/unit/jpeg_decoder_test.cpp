#include "imaging/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <vector>

extern const unsigned char red_blue_jpg[];
extern const unsigned long long red_blue_jpg_size;
extern const unsigned char background_jpg[];
extern const unsigned long long background_jpg_size;

namespace sentavo {
namespace {

std::span<const std::uint8_t> Sample() {
  return {red_blue_jpg, static_cast<std::size_t>(red_blue_jpg_size)};
}

void ExpectNear(const std::uint8_t* px, int r, int g, int b) {
  EXPECT_NEAR(px[0], r, 8);
  EXPECT_NEAR(px[1], g, 8);
  EXPECT_NEAR(px[2], b, 8);
}

TEST(JpegDecoder, DecodesABaselineJpegToRgb) {
  std::string error;
  const auto image = DecodeJpeg(Sample(), &error);
  ASSERT_TRUE(image) << error;
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->height, 16);
  EXPECT_EQ(image->pixels.size(), 32u * 16u * 3u);
  ExpectNear(image->At(2, 2), 255, 0, 0);    // the left half is red
  ExpectNear(image->At(29, 13), 0, 0, 255);  // the right half is blue
}

TEST(JpegDecoder, DamagedDataIsReportedNotFatal) {
  std::string error;
  const std::vector<std::uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
  EXPECT_FALSE(DecodeJpeg(junk, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(DecodeJpeg({}));
  // Cut inside the header: libjpeg cannot even read the size.
  EXPECT_FALSE(DecodeJpeg(Sample().first(20), &error));
}

// The lock window's background is decoded straight into a 24-bit DIB, whose rows are padded to
// four bytes: every pixel the same as the RGB decode, for the small sample and the client's own
// picture, and the padding left alone.
TEST(JpegDecoder, DecodesIntoDibRowsWithTheSamePixels) {
  const std::span<const std::uint8_t> background{background_jpg,
                                                 static_cast<std::size_t>(background_jpg_size)};
  for (const std::span<const std::uint8_t> jpeg : {Sample(), background}) {
    const auto rgb = DecodeJpeg(jpeg);
    ASSERT_TRUE(rgb);
    constexpr std::uint8_t kUntouched = 0xA5;
    std::vector<std::uint8_t> bytes;
    std::size_t stride = 0;
    int width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(DecodeJpegInto(
        jpeg,
        [&](int w, int h) {
          width = w;
          height = h;
          stride = (static_cast<std::size_t>(w) * 3 + 3 + 4) & ~std::size_t{3};  // and a spare word
          bytes.assign(stride * static_cast<std::size_t>(h), kUntouched);
          return PixelRows{bytes.data(), stride};
        },
        &error))
        << error;
    ASSERT_EQ(width, rgb->width);
    ASSERT_EQ(height, rgb->height);
    std::size_t differing = 0, padding = 0;
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* row = bytes.data() + static_cast<std::size_t>(y) * stride;
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = rgb->At(x, y);
        const std::uint8_t* q = row + static_cast<std::size_t>(x) * 3;
        differing += q[0] != p[2] || q[1] != p[1] || q[2] != p[0];
      }
      for (std::size_t i = static_cast<std::size_t>(width) * 3; i < stride; ++i)
        padding += row[i] != kUntouched;
    }
    EXPECT_EQ(differing, 0u) << width << "x" << height;
    EXPECT_EQ(padding, 0u);
  }
}

TEST(JpegDecoder, DecodingIntoNoMemoryOrFromDamagedDataFails) {
  std::string error;
  EXPECT_FALSE(DecodeJpegInto(
      Sample(), [](int, int) { return PixelRows{}; }, &error));
  EXPECT_EQ(error, "out of memory");
  int asked = 0;
  const auto count = [&](int, int) {
    ++asked;
    return PixelRows{};
  };
  error.clear();
  const std::vector<std::uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
  EXPECT_FALSE(DecodeJpegInto(junk, count, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(DecodeJpegInto(Sample().first(20), count));
  EXPECT_EQ(asked, 0);  // no memory is asked for a picture whose size cannot be read
}

}  // namespace
}  // namespace sentavo
