#include "imaging/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <vector>

extern const unsigned char red_blue_jpg[];
extern const unsigned long long red_blue_jpg_size;

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

}  // namespace
}  // namespace sentavo
