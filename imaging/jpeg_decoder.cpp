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

}  // namespace

std::optional<RgbImage> DecodeJpeg(std::span<const std::uint8_t> data, std::string* error) {
  // Everything that lives across the setjmp is created before it, so the jump skips no destructor.
  RgbImage image;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = Silence;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    if (error) *error = errors.message;
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width > kMaxSide || info.image_height > kMaxSide) {
    std::snprintf(errors.message, sizeof errors.message, "picture of %ux%u pixels is too large",
                  info.image_width, info.image_height);
    std::longjmp(errors.jump, 1);
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.pixels.resize(static_cast<std::size_t>(image.width) *
                      static_cast<std::size_t>(image.height) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.pixels.data() + static_cast<std::size_t>(info.output_scanline) *
                                             static_cast<std::size_t>(image.width) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return image;
}

}  // namespace sentavo
