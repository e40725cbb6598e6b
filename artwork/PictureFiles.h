// Encoders for the picture files of the Windows period that the programs and their working folder
// hold: Windows bitmap files (24 bits, bottom-up), baseline JPEG (libjpeg) and a 16-colour Windows
// icon. Each writes one file and throws std::runtime_error naming it when it cannot.

#ifndef CATALOG_ARTWORK_PICTUREFILES_H_
#define CATALOG_ARTWORK_PICTUREFILES_H_

#include <QImage>
#include <array>
#include <string>

namespace artwork {

// Throws unless the picture has a size that every encoder can take (at least 1 x 1, far below
// any size whose byte count could overflow).
void checkPictureSize(const std::string& path, const QImage& image);

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

}  // namespace artwork

#endif  // CATALOG_ARTWORK_PICTUREFILES_H_
