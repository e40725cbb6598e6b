#include "artwork/support/JpegPicture.h"

// libjpeg's header needs the standard I/O types first.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <utility>

namespace {

struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void jpegFailed(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

}  // namespace

JpegPicture decodeJpeg(const unsigned char* data, std::size_t size) {
  JpegPicture picture;
  std::vector<unsigned char> pixels;
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = jpegFailed;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return JpegPicture{};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  picture.width = static_cast<int>(info.image_width);
  picture.height = static_cast<int>(info.image_height);
  picture.components = info.num_components;
  picture.progressive = info.progressive_mode != 0;
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  pixels.resize(static_cast<std::size_t>(info.output_width) * info.output_height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &pixels[static_cast<std::size_t>(info.output_scanline) * info.output_width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  picture.rgb = std::move(pixels);
  picture.ok = true;
  return picture;
}
