// The size arithmetic of a packed bitmap block, apart from the decoding so that its limits can be
// checked on their own: a picture from a file may declare any size, and every figure that the block
// carries in its header and in PngDibRequest must fit the 32-bit fields exactly.

#ifndef CATALOG_PICTURE_PACKEDDIBLAYOUT_H_
#define CATALOG_PICTURE_PACKEDDIBLAYOUT_H_

#include <cstdint>

namespace picture {

struct PackedDibLayout {
  std::uint32_t stride = 0;     // bytes per row, a multiple of 4
  std::uint32_t imageSize = 0;  // height * stride, the header's biSizeImage
  std::int32_t bitsOffset = 0;  // 40 + 4 * colourCount
  std::int32_t blockSize = 0;   // bitsOffset + imageSize
};

// Fills `layout` for a picture of width x height pixels at bitCount bits per pixel with colourCount
// colour-table entries. Returns false, leaving `layout` alone, when width * bitCount + 31 or
// height * stride leaves 32 unsigned bits, or the block exceeds the largest 32-bit signed size.
bool computePackedDibLayout(std::uint32_t width, std::uint32_t height, std::uint32_t bitCount,
                            std::uint32_t colourCount, PackedDibLayout& layout);

}  // namespace picture

#endif  // CATALOG_PICTURE_PACKEDDIBLAYOUT_H_
