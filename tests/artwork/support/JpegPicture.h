// A JPEG decoded with libjpeg directly, so that a fault in the artwork's encoder cannot hide
// behind the same code reading it back.
#pragma once

#include <cstddef>
#include <vector>

struct JpegPicture {
  bool ok = false;
  int width = 0;
  int height = 0;
  int components = 0;
  bool progressive = false;
  std::vector<unsigned char> rgb;  // three bytes a pixel, top row first
};
JpegPicture decodeJpeg(const unsigned char* data, std::size_t size);
