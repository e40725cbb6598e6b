#include "picture/PngFileBounds.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace picture {

namespace {

constexpr std::uint32_t kHeaderBytes = 8;  // the length and the type
constexpr std::uint32_t kCrcBytes = 4;
constexpr std::uint32_t kLargestChunkLength = 0x7FFFFFFF;
constexpr std::uint32_t kImageData = 0x49444154;    // "IDAT"
constexpr std::uint32_t kHeaderChunk = 0x49484452;  // "IHDR"
constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();

std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > kSaturated / a) return kSaturated;
  return a * b;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
  return b > kSaturated - a ? kSaturated : a + b;
}

// Rows and columns of one Adam7 pass over a picture: the pass takes every step-th pixel from start.
std::uint64_t passExtent(std::uint32_t size, std::uint32_t start, std::uint32_t step) {
  return size > start ? (std::uint64_t{size} - start + step - 1) / step : 0;
}

struct Pass {
  std::uint32_t xStart, yStart, xStep, yStep;
};

constexpr Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

bool isSkippedChunk(std::uint32_t type) {
  for (int i = 0; i < kSkippedChunkCount; ++i) {
    const char* name = kSkippedChunks + 5 * i;
    std::uint32_t skipped = 0;
    for (int k = 0; k < 4; ++k) skipped = (skipped << 8) | static_cast<std::uint8_t>(name[k]);
    if (type == skipped) return true;
  }
  return false;
}

// Filter byte plus the packed pixels of one row of `columns` pixels.
std::uint64_t filteredRowBytes(std::uint64_t columns, std::uint32_t pixelBits) {
  return 1 + (saturatingMultiply(columns, pixelBits) + 7) / 8;
}

}  // namespace

bool PngChunkBounds::pass(const std::uint8_t* bytes, std::size_t count) {
  while (count > 0 && field_ != Field::refused) {
    if (field_ == Field::header) {
      header_ = (header_ << 8) | *bytes;
      ++bytes;
      --count;
      ++position_;
      if (--left_ == 0) headerComplete();
      continue;
    }
    const auto taken = static_cast<std::uint32_t>(std::min<std::size_t>(left_, count));
    bytes += taken;
    count -= taken;
    position_ += taken;
    left_ -= taken;
    if (field_ == Field::data && inImageData_ && rowsDecoded_) {
      imageDataAfterRows_ += taken;
      if (imageDataAfterRows_ > kImageDataAfterRows) {
        field_ = Field::refused;
        break;
      }
    }
    if (left_ != 0) continue;
    if (field_ == Field::data) {
      field_ = Field::crc;
      left_ = kCrcBytes;
    } else {  // the signature or a CRC: the next chunk begins
      field_ = Field::header;
      left_ = kHeaderBytes;
      header_ = 0;
    }
  }
  return field_ != Field::refused;
}

void PngChunkBounds::headerComplete() {
  const auto length = static_cast<std::uint32_t>(header_ >> 32);
  const auto type = static_cast<std::uint32_t>(header_);
  const std::uint64_t end = position_ + std::uint64_t{length} + kCrcBytes;
  inImageData_ = type == kImageData;
  if (type == kHeaderChunk) headerChunkSeen_ = true;
  if (length > kLargestChunkLength || (!inImageData_ && end > streamSize_) ||
      (!headerChunkSeen_ && isSkippedChunk(type))) {
    field_ = Field::refused;
  } else if (length == 0) {
    field_ = Field::crc;
    left_ = kCrcBytes;
  } else {
    field_ = Field::data;
    left_ = length;
  }
}

std::uint64_t inflatedImageDataSize(std::uint32_t width, std::uint32_t height, std::uint32_t pixelBits,
                                    bool interlaced) {
  if (!interlaced) return saturatingMultiply(height, filteredRowBytes(width, pixelBits));
  std::uint64_t total = 0;
  for (const Pass& pass : kAdam7) {
    const std::uint64_t columns = passExtent(width, pass.xStart, pass.xStep);
    const std::uint64_t rows = passExtent(height, pass.yStart, pass.yStep);
    if (columns == 0 || rows == 0) continue;  // an empty pass has no rows, not even filter bytes
    total = saturatingAdd(total, saturatingMultiply(rows, filteredRowBytes(columns, pixelBits)));
  }
  return total;
}

std::uint64_t decodedRowCount(std::uint32_t width, std::uint32_t height, bool interlaced) {
  if (!interlaced) return height;
  std::uint64_t rows = 0;
  for (const Pass& pass : kAdam7) {
    if (passExtent(width, pass.xStart, pass.xStep) == 0) continue;
    rows += passExtent(height, pass.yStart, pass.yStep);
  }
  return rows;
}

bool imageDataFitsFile(std::uint32_t width, std::uint32_t height, std::uint32_t pixelBits, bool interlaced,
                       std::uint64_t fileSize) {
  return inflatedImageDataSize(width, height, pixelBits, interlaced) <=
         saturatingMultiply(fileSize, kMaxInflateRatio);
}

}  // namespace picture
