// The loader on good pictures: header, colour table, row layout and pixels for every colour type and
// bit depth that PNG defines.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "picture/PngDib.h"
#include "picture/support/PngFiles.h"

namespace {

constexpr int kGrey = PNG_COLOR_TYPE_GRAY;
constexpr int kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA;
constexpr int kRgb = PNG_COLOR_TYPE_RGB;
constexpr int kRgba = PNG_COLOR_TYPE_RGB_ALPHA;
constexpr int kPalette = PNG_COLOR_TYPE_PALETTE;

class PngDibTest : public ::testing::Test {
 protected:
  std::string write(const PngPicture& picture, const std::string& name = "picture.dat") {
    const std::string path = folder.file(name);
    writePng(path, picture);
    return path;
  }

  TempFolder folder;
};

struct FormatCase {
  const char* label;
  int colorType;
  int bitDepth;
  std::uint32_t width;
  std::uint32_t height;
  int paletteSize;
  std::uint16_t bitCount;
  std::uint32_t colourCount;
  std::uint32_t stride;
};

const FormatCase kFormats[] = {
    {"1-bit grey, 3 wide", kGrey, 1, 3, 4, 0, 1, 2, 4},
    {"1-bit grey, 33 wide", kGrey, 1, 33, 3, 0, 1, 2, 8},
    {"2-bit grey keeps 2 bits", kGrey, 2, 7, 5, 0, 2, 4, 4},
    {"4-bit grey", kGrey, 4, 9, 3, 0, 4, 16, 8},
    {"8-bit grey", kGrey, 8, 6, 4, 0, 8, 256, 8},
    {"16-bit grey cut to 8", kGrey, 16, 5, 3, 0, 8, 256, 8},
    {"8-bit grey with alpha", kGreyAlpha, 8, 5, 4, 0, 8, 256, 8},
    {"16-bit grey with alpha", kGreyAlpha, 16, 3, 2, 0, 8, 256, 4},
    {"8-bit RGB, 1 wide", kRgb, 8, 1, 3, 0, 24, 0, 4},
    {"8-bit RGB, 5 wide", kRgb, 8, 5, 4, 0, 24, 0, 16},
    {"16-bit RGB", kRgb, 16, 5, 3, 0, 24, 0, 16},
    {"8-bit RGB with alpha", kRgba, 8, 6, 3, 0, 24, 0, 20},
    {"16-bit RGB with alpha", kRgba, 16, 3, 5, 0, 24, 0, 12},
    {"1-bit palette", kPalette, 1, 11, 3, 2, 1, 2, 4},
    {"2-bit palette", kPalette, 2, 9, 4, 4, 2, 4, 4},
    {"4-bit palette of 5 colours", kPalette, 4, 7, 5, 5, 4, 5, 4},
    {"8-bit palette of 200 colours", kPalette, 8, 13, 6, 200, 8, 200, 16},
};

TEST_F(PngDibTest, EveryFormatGivesItsHeaderLayoutAndPixels) {
  for (const FormatCase& c : kFormats) {
    SCOPED_TRACE(c.label);
    const PngPicture picture = patternPicture(c.width, c.height, c.colorType, c.bitDepth, c.paletteSize);
    const LoadedDib dib(write(picture));
    ASSERT_EQ(dib.result, pngDibOk);

    const BITMAPINFOHEADER& header = dib.header();
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, static_cast<std::int32_t>(c.width));
    EXPECT_EQ(header.biHeight, static_cast<std::int32_t>(c.height));
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, c.bitCount);
    EXPECT_EQ(header.biCompression, BI_RGB);
    EXPECT_EQ(header.biSizeImage, c.height * c.stride);
    EXPECT_EQ(header.biXPelsPerMeter, 0);
    EXPECT_EQ(header.biYPelsPerMeter, 0);
    EXPECT_EQ(header.biClrUsed, c.colourCount);
    EXPECT_EQ(header.biClrImportant, 0u);

    const std::int32_t bitsOffset = 40 + 4 * static_cast<std::int32_t>(c.colourCount);
    const auto* base = reinterpret_cast<const std::uint8_t*>(dib.request.block);
    EXPECT_EQ(dib.request.blockSize, bitsOffset + static_cast<std::int32_t>(c.height * c.stride));
    EXPECT_EQ(dib.request.paletteOffset, 40);
    EXPECT_EQ(dib.request.bitsOffset, bitsOffset);
    EXPECT_EQ(dib.request.paletteCount, static_cast<std::int32_t>(c.colourCount));
    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(dib.request.palette), base + 40);
    EXPECT_EQ(dib.request.bits, base + bitsOffset);

    for (std::uint32_t y = 0; y < c.height; ++y) {
      EXPECT_EQ(dib.row(c.height - 1 - y, c.stride), expectedBlockRow(picture, y, c.stride))
          << "PNG row " << y;
    }
  }
}

TEST_F(PngDibTest, PictureOf700By204RgbPixelsTakes428440Bytes) {
  const LoadedDib dib(write(patternPicture(700, 204, kRgb, 8)));
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.request.blockSize, 428440);
  EXPECT_EQ(dib.header().biSizeImage, 204u * 2100u);
}

struct RampCase {
  const char* label;
  int bitDepth;
  std::uint32_t count;
  unsigned step;
};

const RampCase kRamps[] = {
    {"1 bit", 1, 2, 255},  {"2 bits", 2, 4, 85},    {"4 bits", 4, 16, 17},
    {"8 bits", 8, 256, 1}, {"16 bits", 16, 256, 1},
};

TEST_F(PngDibTest, GreyPicturesGetAnEvenGreyRamp) {
  for (const RampCase& c : kRamps) {
    SCOPED_TRACE(c.label);
    const LoadedDib dib(write(patternPicture(4, 2, kGrey, c.bitDepth)));
    ASSERT_EQ(dib.result, pngDibOk);
    ASSERT_EQ(dib.request.paletteCount, static_cast<std::int32_t>(c.count));
    for (std::uint32_t i = 0; i < c.count; ++i) {
      const RGBQUAD& entry = dib.request.palette[i];
      const unsigned v = i * c.step;
      EXPECT_EQ(entry.rgbBlue, v) << "entry " << i;
      EXPECT_EQ(entry.rgbGreen, v) << "entry " << i;
      EXPECT_EQ(entry.rgbRed, v) << "entry " << i;
      EXPECT_EQ(entry.rgbReserved, 0) << "entry " << i;
    }
  }
}

TEST_F(PngDibTest, OneBitGreyTableIsBlackThenWhite) {
  const LoadedDib dib(write(patternPicture(3, 3, kGrey, 1)));
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.request.bitsOffset, 48);
  const std::vector<std::uint8_t> table(reinterpret_cast<const std::uint8_t*>(dib.request.palette),
                                        static_cast<const std::uint8_t*>(dib.request.bits));
  EXPECT_EQ(table, (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
}

TEST_F(PngDibTest, PaletteOfFiveColoursIsStoredBlueGreenRed) {
  PngPicture picture = patternPicture(7, 3, kPalette, 4, 5);
  picture.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}, {200, 100, 50}};
  const LoadedDib dib(write(picture));
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.header().biBitCount, 4);
  EXPECT_EQ(dib.header().biClrUsed, 5u);
  EXPECT_EQ(dib.request.bitsOffset, 60);
  const std::vector<std::uint8_t> table(reinterpret_cast<const std::uint8_t*>(dib.request.palette),
                                        static_cast<const std::uint8_t*>(dib.request.bits));
  EXPECT_EQ(table, (std::vector<std::uint8_t>{0, 0, 255, 0,  0,  255, 0,  0,   255, 0,
                                              0, 0, 30,  20, 10, 0,   50, 100, 200, 0}));
}

// Two rows of two pixels: red, green over blue, white. Alpha and 16-bit samples must make no
// difference to the block.
PngPicture cornersPicture(int colorType, int bitDepth) {
  PngPicture picture = patternPicture(2, 2, colorType, bitDepth);
  const unsigned colours[2][2][3] = {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, {255, 255, 255}}};
  const int channels = picture.channels();
  const int bytes = bitDepth / 8;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      for (int c = 0; c < channels; ++c) {
        // The low byte of a 16-bit sample and the alpha get values that must not reach the block.
        const unsigned value = c < 3 ? colours[y][x][c] : 0x40 + x + 2 * y;
        const std::size_t at = (std::size_t{static_cast<unsigned>(x)} * channels + c) * bytes;
        picture.rows[y][at] = static_cast<std::uint8_t>(value);
        if (bytes == 2) picture.rows[y][at + 1] = 0x99;
      }
    }
  }
  return picture;
}

struct CornersCase {
  const char* label;
  int colorType;
  int bitDepth;
};

const CornersCase kCorners[] = {
    {"8-bit RGB", kRgb, 8},
    {"16-bit RGB", kRgb, 16},
    {"8-bit RGB with alpha", kRgba, 8},
    {"16-bit RGB with alpha", kRgba, 16},
};

TEST_F(PngDibTest, ColourPixelsAreBlueGreenRedWithTheTopLeftPixelFirstInTheLastRow) {
  for (const CornersCase& c : kCorners) {
    SCOPED_TRACE(c.label);
    const LoadedDib dib(write(cornersPicture(c.colorType, c.bitDepth)));
    ASSERT_EQ(dib.result, pngDibOk);
    EXPECT_EQ(dib.row(1, 8), (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0, 0, 0}));
    EXPECT_EQ(dib.row(0, 8), (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 255, 0, 0}));
  }
}

TEST_F(PngDibTest, TopLeftPaletteIndexIsTheFirstPixelOfTheLastRow) {
  PngPicture picture = patternPicture(8, 3, kPalette, 8, 4);
  for (auto& row : picture.rows) std::fill(row.begin(), row.end(), 0);
  picture.rows[0][0] = 3;
  const LoadedDib dib(write(picture));
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.request.bits[2 * 8], 3);
  EXPECT_EQ(dib.request.bits[0], 0);
}

struct InterlaceCase {
  const char* label;
  int colorType;
  int bitDepth;
  int paletteSize;
};

const InterlaceCase kInterlaced[] = {
    {"1-bit grey", kGrey, 1, 0},       {"2-bit grey", kGrey, 2, 0},
    {"16-bit grey", kGrey, 16, 0},     {"16-bit grey with alpha", kGreyAlpha, 16, 0},
    {"8-bit RGB", kRgb, 8, 0},         {"16-bit RGB with alpha", kRgba, 16, 0},
    {"4-bit palette", kPalette, 4, 5},
};

TEST_F(PngDibTest, InterlacedPictureGivesTheSameBlockAsAPlainOne) {
  for (const InterlaceCase& c : kInterlaced) {
    SCOPED_TRACE(c.label);
    // Larger than one Adam7 tile and of odd size, so that every pass has pixels and rows end in
    // part bytes.
    PngPicture picture = patternPicture(19, 13, c.colorType, c.bitDepth, c.paletteSize);
    const LoadedDib plain(write(picture, "plain.dat"));
    picture.interlaced = true;
    const LoadedDib interlaced(write(picture, "interlaced.dat"));
    ASSERT_EQ(plain.result, pngDibOk);
    ASSERT_EQ(interlaced.result, pngDibOk);
    EXPECT_NE(readBytes(folder.file("plain.dat")), readBytes(folder.file("interlaced.dat")));
    EXPECT_EQ(interlaced.bytes(), plain.bytes());
  }
}

struct PhysCase {
  const char* label;
  bool present;
  int unit;
  std::int32_t expectedX;
  std::int32_t expectedY;
};

const PhysCase kPhys[] = {
    {"no pHYs chunk", false, 0, 0, 0},
    {"aspect ratio only", true, PNG_RESOLUTION_UNKNOWN, 0, 0},
    {"pixels per metre", true, PNG_RESOLUTION_METER, 2835, 3780},
};

TEST_F(PngDibTest, ResolutionIsTakenOnlyInPixelsPerMetre) {
  for (const PhysCase& c : kPhys) {
    SCOPED_TRACE(c.label);
    PngPicture picture = patternPicture(3, 2, kRgb, 8);
    picture.hasPhys = c.present;
    picture.physX = 2835;
    picture.physY = 3780;
    picture.physUnit = c.unit;
    const LoadedDib dib(write(picture));
    ASSERT_EQ(dib.result, pngDibOk);
    EXPECT_EQ(dib.header().biXPelsPerMeter, c.expectedX);
    EXPECT_EQ(dib.header().biYPelsPerMeter, c.expectedY);
  }
}

}  // namespace
