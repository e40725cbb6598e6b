#include "tools/ImageFiles.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "artwork/PictureFiles.h"

namespace demo {
namespace {

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

}  // namespace

void writePng(const std::string& path, const QImage& image, PngFormat format, QRgb clearColour) {
  artwork::checkPictureSize(path, image);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  PngPlan plan = planPng(rgb, format, clearColour, path);
  encodePng(path, rgb.width(), rgb.height(), plan);
}

}  // namespace demo
