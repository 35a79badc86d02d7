#include "imaging/jpeg_decoder.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

namespace sentavo {
namespace {

constexpr JDIMENSION kMaxSide = 16384;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// libjpeg's default would exit the process; jump back to the caller instead.
[[noreturn]] void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void Silence(j_common_ptr, int) {}

// Reads the picture with `info.out_color_space` set to `space`, each row where `row(y)` says once
// the size is known (`begin(width, height)` false gives up). One setjmp for every way in.
template <class Begin, class Row>
bool Decode(std::span<const std::uint8_t> data, J_COLOR_SPACE space, Begin&& begin, Row&& row,
            std::string* error) {
  // Everything that lives across the setjmp is created before it, so the jump skips no destructor.
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = Silence;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    if (error) *error = errors.message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width > kMaxSide || info.image_height > kMaxSide) {
    std::snprintf(errors.message, sizeof errors.message, "picture of %ux%u pixels is too large",
                  info.image_width, info.image_height);
    std::longjmp(errors.jump, 1);
  }
  info.out_color_space = space;
  jpeg_start_decompress(&info);
  if (!begin(static_cast<int>(info.output_width), static_cast<int>(info.output_height))) {
    std::snprintf(errors.message, sizeof errors.message, "out of memory");
    std::longjmp(errors.jump, 1);
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW rowStart = row(info.output_scanline);
    jpeg_read_scanlines(&info, &rowStart, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(std::span<const std::uint8_t> data, std::string* error) {
  RgbImage image;
  const bool ok = Decode(
      data, JCS_RGB,
      [&](int width, int height) {
        image.width = width;
        image.height = height;
        image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
        return true;
      },
      [&](JDIMENSION y) {
        return image.pixels.data() +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) * 3;
      },
      error);
  if (!ok) return std::nullopt;
  return image;
}

bool DecodeJpegInto(std::span<const std::uint8_t> data, const PixelTarget& target,
                    std::string* error) {
  PixelRows rows;
  return Decode(
      data, JCS_EXT_BGR,
      [&](int width, int height) {
        rows = target(width, height);
        return rows.first != nullptr;
      },
      [&](JDIMENSION y) { return rows.first + y * rows.stride; }, error);
}

}  // namespace sentavo
