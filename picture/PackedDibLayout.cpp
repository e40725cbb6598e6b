#include "picture/PackedDibLayout.h"

#include <limits>

namespace picture {

bool computePackedDibLayout(std::uint32_t width, std::uint32_t height, std::uint32_t bitCount,
                            std::uint32_t colourCount, PackedDibLayout& layout) {
  constexpr std::uint64_t kMaxUnsigned = std::numeric_limits<std::uint32_t>::max();
  constexpr std::uint64_t kMaxSigned = std::numeric_limits<std::int32_t>::max();

  // Every product of two 32-bit values fits in 64 bits, so each step is exact before its check.
  const std::uint64_t rowBits = std::uint64_t{width} * bitCount + 31;
  if (rowBits > kMaxUnsigned) return false;
  const std::uint64_t stride = (rowBits >> 5) << 2;

  const std::uint64_t imageSize = std::uint64_t{height} * stride;
  if (imageSize > kMaxUnsigned) return false;

  const std::uint64_t bitsOffset = 40 + std::uint64_t{colourCount} * 4;
  const std::uint64_t blockSize = bitsOffset + imageSize;
  if (blockSize > kMaxSigned) return false;

  layout.stride = static_cast<std::uint32_t>(stride);
  layout.imageSize = static_cast<std::uint32_t>(imageSize);
  layout.bitsOffset = static_cast<std::int32_t>(bitsOffset);
  layout.blockSize = static_cast<std::int32_t>(blockSize);
  return true;
}

}  // namespace picture
