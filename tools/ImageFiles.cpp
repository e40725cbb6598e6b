#include "tools/ImageFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace demo {
namespace {

// Far above any picture of the catalogue; keeps every size product below in range.
constexpr int kMaxSide = 16384;

void checkSize(const std::string& path, const QImage& image) {
  if (image.width() <= 0 || image.height() <= 0 || image.width() > kMaxSide || image.height() > kMaxSide) {
    throw std::runtime_error("picture size out of range for " + path);
  }
}

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

unsigned char greyOf(QRgb c) {
  return static_cast<unsigned char>((299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c) + 500) / 1000);
}

struct PngPlan {
  int colourType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  std::vector<png_color> palette;
  std::vector<std::vector<unsigned char>> rows;
};

// Gives each colour a palette index in the order of first appearance, so the same picture always
// gets the same palette.
std::vector<std::vector<int>> indexColours(const QImage& rgb, std::vector<png_color>& palette,
                                           std::size_t maxColours, const std::string& path) {
  std::unordered_map<QRgb, int> indexOf;
  std::vector<std::vector<int>> indexes(static_cast<std::size_t>(rgb.height()));
  for (int y = 0; y < rgb.height(); ++y) {
    auto& row = indexes[static_cast<std::size_t>(y)];
    row.resize(static_cast<std::size_t>(rgb.width()));
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb c = rgb.pixel(x, y) | 0xFF000000u;
      auto found = indexOf.find(c);
      if (found == indexOf.end()) {
        if (palette.size() >= maxColours) {
          throw std::runtime_error("too many colours for the palette of " + path);
        }
        found = indexOf.emplace(c, static_cast<int>(palette.size())).first;
        palette.push_back(png_color{static_cast<png_byte>(qRed(c)), static_cast<png_byte>(qGreen(c)),
                                    static_cast<png_byte>(qBlue(c))});
      }
      row[static_cast<std::size_t>(x)] = found->second;
    }
  }
  return indexes;
}

std::vector<unsigned char> packNibbles(const std::vector<int>& values) {
  std::vector<unsigned char> packed((values.size() + 1) / 2, 0);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto nibble = static_cast<unsigned char>(values[i] & 0x0F);
    packed[i / 2] |= (i % 2 == 0) ? static_cast<unsigned char>(nibble << 4) : nibble;
  }
  return packed;
}

PngPlan planPng(const QImage& rgb, PngFormat format, QRgb clearColour, const std::string& path) {
  PngPlan plan;
  const int width = rgb.width();
  const int height = rgb.height();
  clearColour |= 0xFF000000u;

  if (format == PngFormat::kPalette4 || format == PngFormat::kPalette8) {
    plan.colourType = PNG_COLOR_TYPE_PALETTE;
    plan.bitDepth = format == PngFormat::kPalette4 ? 4 : 8;
    const auto indexes = indexColours(rgb, plan.palette, format == PngFormat::kPalette4 ? 16 : 256, path);
    for (const auto& row : indexes) {
      if (plan.bitDepth == 4) {
        plan.rows.push_back(packNibbles(row));
      } else {
        plan.rows.emplace_back(row.begin(), row.end());
      }
    }
    return plan;
  }

  for (int y = 0; y < height; ++y) {
    std::vector<unsigned char> row;
    std::vector<int> nibbles;
    row.reserve(static_cast<std::size_t>(width) * 4);
    for (int x = 0; x < width; ++x) {
      const QRgb c = rgb.pixel(x, y) | 0xFF000000u;
      const unsigned char alpha = c == clearColour ? 0 : 255;
      switch (format) {
        case PngFormat::kGrey4:
          nibbles.push_back((greyOf(c) * 15 + 127) / 255);
          break;
        case PngFormat::kGrey8:
          row.push_back(greyOf(c));
          break;
        case PngFormat::kGreyAlpha8:
          row.push_back(greyOf(c));
          row.push_back(alpha);
          break;
        case PngFormat::kRgb8:
        case PngFormat::kRgba8:
          row.push_back(static_cast<unsigned char>(qRed(c)));
          row.push_back(static_cast<unsigned char>(qGreen(c)));
          row.push_back(static_cast<unsigned char>(qBlue(c)));
          if (format == PngFormat::kRgba8) row.push_back(alpha);
          break;
        case PngFormat::kPalette4:
        case PngFormat::kPalette8:
          break;
      }
    }
    plan.rows.push_back(format == PngFormat::kGrey4 ? packNibbles(nibbles) : std::move(row));
  }
  switch (format) {
    case PngFormat::kGrey4:
      plan.colourType = PNG_COLOR_TYPE_GRAY;
      plan.bitDepth = 4;
      break;
    case PngFormat::kGrey8:
      plan.colourType = PNG_COLOR_TYPE_GRAY;
      break;
    case PngFormat::kGreyAlpha8:
      plan.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
      break;
    case PngFormat::kRgba8:
      plan.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
      break;
    default:
      plan.colourType = PNG_COLOR_TYPE_RGB;
      break;
  }
  return plan;
}

void encodePng(const std::string& path, int width, int height, PngPlan& plan) {
  std::vector<png_bytep> rowPointers;
  for (auto& row : plan.rows) rowPointers.push_back(row.data());

  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    throw std::runtime_error("out of memory writing " + path);
  }
  // libpng's own error handler reports on stderr and jumps back here.
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    throw std::runtime_error("libpng failed writing " + path);
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), plan.bitDepth,
               plan.colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!plan.palette.empty()) {
    png_set_PLTE(png, info, plan.palette.data(), static_cast<int>(plan.palette.size()));
  }
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
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

void writePng(const std::string& path, const QImage& image, PngFormat format, QRgb clearColour) {
  checkSize(path, image);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  PngPlan plan = planPng(rgb, format, clearColour, path);
  encodePng(path, rgb.width(), rgb.height(), plan);
}

void writeBitmapFile(const std::string& path, const QImage& image) {
  checkSize(path, image);
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
  checkSize(path, image);
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

}  // namespace demo
