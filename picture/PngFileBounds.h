// What the loader lets libpng read of a PNG file of a known size, so that the loader's cost on a
// damaged or crafted file is bounded by the file's real size and the picture's own, not by the
// sizes that the file declares:
//   - PngChunkBounds follows the chunk structure of the stream as libpng reads it and refuses a
//     chunk whose declared length runs past the end of the file. libpng sizes its buffer for a chunk
//     from that length before it reads the data, so the check must come before libpng sees it.
//     Image data chunks are the exception: libpng reads them piece by piece into a small buffer,
//     so their length costs nothing, and a file cut off in its image data fails at the read that
//     finds the end, after the rows that it does hold.
//   - It refuses a chunk that the loader has libpng skip unread when it stands before the header
//     chunk: libpng, had it read the chunk, would have refused the file as missing its header.
//   - Once the picture's last row is decoded, it lets through only the few bytes that end the
//     compressed image data. Whatever else the image data holds would be inflated, up to 1032
//     bytes for each byte of the file, only to be dropped.
//   - imageDataFitsFile refuses a picture whose declared dimensions need more image data than the
//     file's compressed data can inflate to.
// None of them refuses a valid file: every chunk of a valid file ends inside it, its header comes
// first, its image data ends with its rows, and that data does inflate to the size its header
// declares.

#ifndef CATALOG_PICTURE_PNGFILEBOUNDS_H_
#define CATALOG_PICTURE_PNGFILEBOUNDS_H_

#include <cstddef>
#include <cstdint>

namespace picture {

// The chunks that the loader has libpng skip unread, in the form png_set_keep_unknown_chunks takes
// (four letters and a NUL each): text, compressed text, colour profiles, suggested palettes, Exif
// and calibration data. None of them reaches the block, and a compressed one could inflate to
// many times its size.
inline constexpr char kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0pCAL\0sCAL";
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;

// libpng reads image data in pieces of this many bytes (the loader sets it), so that little of
// it is read ahead of the rows.
constexpr std::uint32_t kImageDataPiece = 1024;

// Image data that may still be read once the last row is decoded. The end of a compressed stream
// is a few bytes, and the piece that holds it has usually been read with the last row already.
constexpr std::uint64_t kImageDataAfterRows = 1024;

class PngChunkBounds {
 public:
  // streamSize: the bytes of the whole stream, signature included.
  explicit PngChunkBounds(std::uint64_t streamSize) : streamSize_(streamSize) {}

  // Accounts for the next `count` bytes of the stream, in the order they are read. Returns false
  // when they complete the length and type of a chunk whose length is above PNG's 2^31 - 1, of a
  // chunk other than IDAT that would end (data and CRC) past the end of the stream, or of a
  // skipped chunk before IHDR; or when they bring the image data read after rowsDecoded() beyond
  // kImageDataAfterRows. Every later call returns false as well.
  bool pass(const std::uint8_t* bytes, std::size_t count);

  // The picture's last row is decoded: the image data that follows is only its end.
  void rowsDecoded() { rowsDecoded_ = true; }

 private:
  enum class Field { signature, header, data, crc, refused };

  void headerComplete();

  std::uint64_t streamSize_ = 0;
  std::uint64_t position_ = 0;  // bytes passed so far
  Field field_ = Field::signature;
  std::uint32_t left_ = 8;    // bytes of field_ still to come
  std::uint64_t header_ = 0;  // the current chunk's length and type as read so far, big-endian
  bool headerChunkSeen_ = false;
  bool inImageData_ = false;  // the current chunk is IDAT
  bool rowsDecoded_ = false;
  std::uint64_t imageDataAfterRows_ = 0;
};

// The rows that libpng decodes for a picture: its height, or for an interlaced one the rows of
// every pass that has pixels.
std::uint64_t decodedRowCount(std::uint32_t width, std::uint32_t height, bool interlaced);

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
