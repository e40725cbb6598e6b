// What a PNG file of a known size can hold, so that the loader's cost on a damaged file is bounded
// by the file's real size and not by the sizes that the file declares:
//   - PngChunkBounds follows the chunk structure of the stream as libpng reads it and refuses a
//     chunk whose declared length runs past the end of the file. libpng sizes its buffer for a chunk
//     from that length before it reads the data, so the check must come before libpng sees it.
//     Image data chunks are the exception: libpng reads them piece by piece into a small buffer,
//     so their length costs nothing, and a file cut off in its image data fails at the read that
//     finds the end, after the rows that it does hold.
//   - imageDataFitsFile refuses a picture whose declared dimensions need more image data than the
//     file's compressed data can inflate to.
// Neither refuses a valid file: every chunk of a valid file ends inside it, and its image data does
// inflate to the size its header declares.

#ifndef CATALOG_PICTURE_PNGFILEBOUNDS_H_
#define CATALOG_PICTURE_PNGFILEBOUNDS_H_

#include <cstddef>
#include <cstdint>

namespace picture {

class PngChunkBounds {
 public:
  // streamSize: the bytes of the whole stream, signature included.
  explicit PngChunkBounds(std::uint64_t streamSize) : streamSize_(streamSize) {}

  // Accounts for the next `count` bytes of the stream, in the order they are read. Returns false
  // when they complete the length and type of a chunk whose length is above PNG's 2^31 - 1, or of
  // a chunk other than IDAT that would end (data and CRC) past the end of the stream; every later
  // call returns false as well.
  bool pass(const std::uint8_t* bytes, std::size_t count);

 private:
  enum class Field { signature, header, data, crc, refused };

  void headerComplete();

  std::uint64_t streamSize_ = 0;
  std::uint64_t position_ = 0;  // bytes passed so far
  Field field_ = Field::signature;
  std::uint32_t left_ = 8;    // bytes of field_ still to come
  std::uint64_t header_ = 0;  // the current chunk's length and type as read so far, big-endian
};

// The size of a picture's image data once inflated: every row of every pass that has pixels, with
// its filter byte. pixelBits is the samples per pixel times the bit depth. Saturates at UINT64_MAX.
std::uint64_t inflatedImageDataSize(std::uint32_t width, std::uint32_t height, std::uint32_t pixelBits,
                                    bool interlaced);

// Deflate spends at least one bit on a length code and one on a distance code for a match of at
// most 258 bytes, so no stream inflates to more than 258 / 2 bytes per bit, 1032 per byte.
constexpr std::uint64_t kMaxInflateRatio = 1032;

// Whether a file of fileSize bytes, all of it compressed image data at best, can inflate to the
// image data of such a picture.
bool imageDataFitsFile(std::uint32_t width, std::uint32_t height, std::uint32_t pixelBits, bool interlaced,
                       std::uint64_t fileSize);

}  // namespace picture

#endif  // CATALOG_PICTURE_PNGFILEBOUNDS_H_
