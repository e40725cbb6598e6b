// The block's size arithmetic at the edges of its 32-bit fields, where a file's declared size would
// otherwise wrap around into a block too small for its rows.

#include <gtest/gtest.h>

#include <cstdint>

#include "picture/PackedDibLayout.h"

namespace {

struct LayoutCase {
  const char* label;
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t bitCount;
  std::uint32_t colourCount;
  bool fits;
  std::uint32_t stride;
  std::uint32_t imageSize;
  std::int32_t blockSize;
};

const LayoutCase kLayouts[] = {
    {"24 bits, 1 wide", 1, 1, 24, 0, true, 4, 4, 44},
    {"1 bit, 3 wide", 3, 1, 1, 2, true, 4, 4, 52},
    {"1 bit, 33 wide", 33, 2, 1, 2, true, 8, 16, 64},
    {"24 bits, 5 wide", 5, 3, 24, 0, true, 16, 48, 88},
    {"700 x 204 at 24 bits", 700, 204, 24, 0, true, 2100, 428400, 428440},
    {"256 colours", 10, 10, 8, 256, true, 12, 120, 1184},
    {"widest row whose bit count fits", 178956969, 1, 24, 0, true, 536870908, 536870908, 536870948},
    {"one pixel wider: bit count leaves 32 bits", 178956970, 1, 24, 0, false, 0, 0, 0},
    {"row bits wrap to a small stride", 0xFFFFFFFF, 1, 1, 2, false, 0, 0, 0},
    {"largest block", 1, 536870901, 8, 0, true, 4, 2147483604, 2147483644},
    {"one row more: block beyond 2 GiB", 1, 536870902, 8, 0, false, 0, 0, 0},
    {"image size within 32 bits, block beyond 2 GiB", 1, 0x3FFFFFFF, 24, 0, false, 0, 0, 0},
    {"image size leaves 32 bits", 1, 0x40000000, 24, 0, false, 0, 0, 0},
    {"height times stride wraps to a small image", 0x10000, 0x10000, 8, 256, false, 0, 0, 0},
};

TEST(PackedDibLayoutTest, SizesFitTheirFieldsOrThePictureIsRefused) {
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(c.label);
    picture::PackedDibLayout layout;
    layout.stride = 7;
    ASSERT_EQ(picture::computePackedDibLayout(c.width, c.height, c.bitCount, c.colourCount, layout), c.fits);
    if (!c.fits) {
      EXPECT_EQ(layout.stride, 7u) << "a refused layout must be left alone";
      continue;
    }
    EXPECT_EQ(layout.stride, c.stride);
    EXPECT_EQ(layout.imageSize, c.imageSize);
    EXPECT_EQ(layout.bitsOffset, static_cast<std::int32_t>(40 + 4 * c.colourCount));
    EXPECT_EQ(layout.blockSize, c.blockSize);
  }
}

}  // namespace
