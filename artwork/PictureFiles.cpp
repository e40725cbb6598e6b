#include "artwork/PictureFiles.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace artwork {
namespace {

// Far above any picture of the programs or their working folder; keeps every size product below
// in range.
constexpr int kMaxSide = 16384;

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

void putLe16(std::vector<unsigned char>& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
  out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void putLe32(std::vector<unsigned char>& out, std::uint32_t value) {
  putLe16(out, value & 0xFFFF);
  putLe16(out, value >> 16);
}

// BITMAPINFOHEADER with no compression and no explicit colour count.
void putInfoHeader(std::vector<unsigned char>& out, int width, int height, int bitCount,
                   std::uint32_t imageSize, std::int32_t pixelsPerMetre) {
  putLe32(out, 40);
  putLe32(out, static_cast<std::uint32_t>(width));
  putLe32(out, static_cast<std::uint32_t>(height));
  putLe16(out, 1);
  putLe16(out, static_cast<unsigned>(bitCount));
  putLe32(out, 0);
  putLe32(out, imageSize);
  putLe32(out, static_cast<std::uint32_t>(pixelsPerMetre));
  putLe32(out, static_cast<std::uint32_t>(pixelsPerMetre));
  putLe32(out, 0);
  putLe32(out, 0);
}

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

}  // namespace

void checkPictureSize(const std::string& path, const QImage& image) {
  if (image.width() <= 0 || image.height() <= 0 || image.width() > kMaxSide || image.height() > kMaxSide) {
    throw std::runtime_error("picture size out of range for " + path);
  }
}

void writeBitmapFile(const std::string& path, const QImage& image) {
  checkPictureSize(path, image);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const int width = rgb.width();
  const int height = rgb.height();
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  constexpr std::uint32_t kHeaders = 14 + 40;

  std::vector<unsigned char> out;
  out.reserve(kHeaders + imageSize);
  out.push_back('B');
  out.push_back('M');
  putLe32(out, kHeaders + imageSize);
  putLe32(out, 0);
  putLe32(out, kHeaders);
  putInfoHeader(out, width, height, 24, imageSize, 2835);  // 72 dots per inch
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < width; ++x) {
      const QRgb c = rgb.pixel(x, y);
      out.push_back(static_cast<unsigned char>(qBlue(c)));
      out.push_back(static_cast<unsigned char>(qGreen(c)));
      out.push_back(static_cast<unsigned char>(qRed(c)));
    }
    out.resize(rowStart + stride, 0);
  }
  writeBytes(path, out);
}

void writeBaselineJpeg(const std::string& path, const QImage& image, int quality) {
  checkPictureSize(path, image);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::vector<JSAMPROW> rows;
  for (int y = 0; y < rgb.height(); ++y) rows.push_back(const_cast<JSAMPROW>(rgb.constScanLine(y)));

  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  jpeg_compress_struct info{};
  JpegErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = jpegErrorExit;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_compress(&info);
    std::fclose(file);
    throw std::runtime_error("libjpeg failed writing " + path);
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  // Forcing baseline keeps every quantisation value within 8 bits, so the file is SOF0.
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    jpeg_write_scanlines(&info, &rows[info.next_scanline], 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

void writeIcon16(const std::string& path, const IconPixels& pixels, const IconPalette& palette) {
  constexpr int kSide = 16;
  constexpr std::uint32_t kColourBytes = kSide * kSide / 2;  // 4 bits a pixel, rows of 8 bytes
  constexpr std::uint32_t kMaskStride = 4;                   // 16 bits padded to 32
  constexpr std::uint32_t kMaskBytes = kMaskStride * kSide;
  constexpr std::uint32_t kImageBytes = 40 + 16 * 4 + kColourBytes + kMaskBytes;
  constexpr std::uint32_t kDirectoryBytes = 6 + 16;

  std::vector<unsigned char> out;
  // ICONDIR and its one ICONDIRENTRY.
  putLe16(out, 0);
  putLe16(out, 1);
  putLe16(out, 1);
  out.push_back(kSide);
  out.push_back(kSide);
  out.push_back(16);
  out.push_back(0);
  putLe16(out, 1);
  putLe16(out, 4);
  putLe32(out, kImageBytes);
  putLe32(out, kDirectoryBytes);

  // The icon's bitmap header counts the colour picture and the mask together: twice the height.
  putInfoHeader(out, kSide, 2 * kSide, 4, kColourBytes + kMaskBytes, 0);
  for (QRgb c : palette) {
    out.push_back(static_cast<unsigned char>(qBlue(c)));
    out.push_back(static_cast<unsigned char>(qGreen(c)));
    out.push_back(static_cast<unsigned char>(qRed(c)));
    out.push_back(0);
  }
  for (int y = kSide - 1; y >= 0; --y) {
    for (int x = 0; x < kSide; x += 2) {
      const int left = pixels[y][x] < 0 ? 0 : pixels[y][x] & 0x0F;
      const int right = pixels[y][x + 1] < 0 ? 0 : pixels[y][x + 1] & 0x0F;
      out.push_back(static_cast<unsigned char>((left << 4) | right));
    }
  }
  for (int y = kSide - 1; y >= 0; --y) {
    unsigned mask = 0;
    for (int x = 0; x < kSide; ++x) {
      if (pixels[y][x] < 0) mask |= 0x8000u >> x;
    }
    out.push_back(static_cast<unsigned char>(mask >> 8));
    out.push_back(static_cast<unsigned char>(mask & 0xFF));
    out.push_back(0);
    out.push_back(0);
  }
  writeBytes(path, out);
}

}  // namespace artwork
