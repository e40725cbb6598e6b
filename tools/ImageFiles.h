// Encoders for the picture files of a working folder and of the programs' embedded artwork:
// PNG in a chosen colour type and bit depth (libpng), Windows bitmap files (24 bits, bottom-up),
// baseline JPEG (libjpeg) and a 16-colour Windows icon. Each writes one file and throws
// std::runtime_error naming it when it cannot.

#ifndef CATALOG_TOOLS_IMAGEFILES_H_
#define CATALOG_TOOLS_IMAGEFILES_H_

#include <QImage>
#include <array>
#include <cstdint>
#include <string>

namespace demo {

// The PNG layouts that the catalogue's picture decoder accepts and whose pixels the program can
// copy into a bitmap. Two-bit depths are left out on purpose: the bitmap copy does not take them.
enum class PngFormat {
  kGrey4,       // colour type 0, 4 bits: grey quantised to 16 levels
  kGrey8,       // colour type 0, 8 bits
  kGreyAlpha8,  // colour type 4, 8 bits
  kPalette4,    // colour type 3, 4 bits: at most 16 colours
  kPalette8,    // colour type 3, 8 bits: at most 256 colours
  kRgb8,        // colour type 2, 8 bits per sample
  kRgba8,       // colour type 6, 8 bits per sample
};

// Writes `image` (any format; read as opaque RGB) as PNG. With an alpha channel, pixels of the
// colour `clearColour` get alpha 0 and all others 255. A palette picture with more colours than
// its depth holds throws.
void writePng(const std::string& path, const QImage& image, PngFormat format, QRgb clearColour);

// A Windows bitmap file: BITMAPFILEHEADER, BITMAPINFOHEADER, 24-bit pixels, bottom row first,
// rows padded to 4 bytes.
void writeBitmapFile(const std::string& path, const QImage& image);

// A baseline (sequential, Huffman-coded) JPEG with three colour components.
void writeBaselineJpeg(const std::string& path, const QImage& image, int quality);

// A 16 x 16 icon of 16 colours: `pixels` holds 16 rows of 16 palette indexes, top row first;
// index -1 marks a transparent pixel (set in the icon's mask).
using IconPixels = std::array<std::array<int, 16>, 16>;
using IconPalette = std::array<QRgb, 16>;
void writeIcon16(const std::string& path, const IconPixels& pixels, const IconPalette& palette);

}  // namespace demo

#endif  // CATALOG_TOOLS_IMAGEFILES_H_
