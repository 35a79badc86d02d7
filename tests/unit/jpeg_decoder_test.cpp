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

// The lock window draws its background from words decoded straight into a DIB: every pixel the
// same as the RGB decode, the alpha byte opaque, for the small sample and the client's own picture.
TEST(JpegDecoder, DecodesIntoDibWordsWithTheSamePixels) {
  const std::span<const std::uint8_t> background{background_jpg,
                                                 static_cast<std::size_t>(background_jpg_size)};
  for (const std::span<const std::uint8_t> jpeg : {Sample(), background}) {
    const auto rgb = DecodeJpeg(jpeg);
    ASSERT_TRUE(rgb);
    std::vector<std::uint32_t> words;
    int width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(DecodeJpegInto(
        jpeg,
        [&](int w, int h) {
          width = w;
          height = h;
          words.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
          return words.data();
        },
        &error))
        << error;
    ASSERT_EQ(width, rgb->width);
    ASSERT_EQ(height, rgb->height);
    std::size_t differing = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = rgb->At(x, y);
        const std::uint32_t expected = 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
        differing += words[static_cast<std::size_t>(y) * width + x] != expected;
      }
    }
    EXPECT_EQ(differing, 0u) << width << "x" << height;
  }
}

TEST(JpegDecoder, DecodingIntoNoMemoryOrFromDamagedDataFails) {
  std::string error;
  EXPECT_FALSE(DecodeJpegInto(
      Sample(), [](int, int) { return nullptr; }, &error));
  EXPECT_EQ(error, "out of memory");
  int asked = 0;
  const auto count = [&](int, int) -> std::uint32_t* {
    ++asked;
    return nullptr;
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
