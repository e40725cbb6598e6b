// The PNG encoder of the working folder's part pictures and drawings: a chosen colour type and bit
// depth (libpng). It throws std::runtime_error naming the file when it cannot write it. The
// Windows bitmap writer of the logos is artwork/PictureFiles.h.

#ifndef CATALOG_TOOLS_IMAGEFILES_H_
#define CATALOG_TOOLS_IMAGEFILES_H_

#include <QImage>
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

}  // namespace demo

#endif  // CATALOG_TOOLS_IMAGEFILES_H_
