// Test helpers for the PNG loader: PNG fixtures written with libpng's own write API into a private
// temporary folder, chunk-level surgery for damaged files, and a watch over the loader's global-memory
// requests. The fixtures come from libpng directly, beside the code under test, so that a fault in
// the loader cannot hide a fault in the fixture.

#ifndef CATALOG_TESTS_PICTURE_SUPPORT_PNGFILES_H_
#define CATALOG_TESTS_PICTURE_SUPPORT_PNGFILES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "picture/PngDib.h"
#include "platform/Win32Memory.h"

struct PaletteColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// One picture as PNG stores it: rows top first, samples packed and big-endian as in the file.
struct PngPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int colorType = 0;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<PaletteColour> palette;  // written as PLTE when not empty
  bool hasPhys = false;
  std::uint32_t physX = 0;
  std::uint32_t physY = 0;
  int physUnit = 0;
  std::vector<std::vector<std::uint8_t>> rows;

  // Samples per pixel of the colour type (1 to 4).
  int channels() const;
  // The value stored for sample `channel` of pixel (x, y); bit depths below 8 are unpacked.
  unsigned sample(std::uint32_t x, std::uint32_t y, int channel) const;
};

// A picture of the given format whose samples all differ from their neighbours in a known way;
// palette pictures get `paletteSize` distinct colours and use every index below it.
PngPicture patternPicture(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth,
                          int paletteSize = 0);

// Writes `picture` as a PNG file with libpng; fails the current test when libpng refuses it.
void writePng(const std::string& path, const PngPicture& picture);
// Reads a PNG file's samples as they stand in it, with libpng and no transformation; `ok` is false
// (with a failure of the current test) when libpng refuses it.
struct ReadPicture {
  bool ok = false;
  PngPicture picture;
};
ReadPicture readPng(const std::string& path);

// What the loader must make of a picture, worked out from its samples: the block row of PNG row
// `y` (packed pixels as they are, otherwise the high byte of each colour sample, blue first,
// without alpha; zero padding), and the whole block.
std::vector<std::uint8_t> expectedBlockRow(const PngPicture& picture, std::uint32_t y, std::uint32_t stride);
std::vector<std::uint8_t> expectedBlock(const PngPicture& picture);

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A PNG file taken apart into its chunks, to damage one and put the file together again.
struct PngChunk {
  std::string type;
  std::vector<std::uint8_t> data;
  std::uint32_t crc = 0;
};
std::vector<PngChunk> splitPng(const std::vector<std::uint8_t>& file);
// With fixCrcs, every chunk gets the CRC of its type and data; otherwise each keeps its `crc`.
std::vector<std::uint8_t> joinPng(const std::vector<PngChunk>& chunks, bool fixCrcs);
std::uint32_t chunkCrc(const PngChunk& chunk);
void putBigEndian32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

// Open file descriptors of this process, to show that a file was closed again.
int openFileCount();


// Watches GlobalAlloc while it lives: records every request and refuses the ones with the flags
// given to refuse(). One at a time; it removes the hook when destroyed.
class GlobalAllocWatch {
 public:
  struct Request {
    UINT flags;
    SIZE_T bytes;
  };

  GlobalAllocWatch();
  GlobalAllocWatch(const GlobalAllocWatch&) = delete;
  GlobalAllocWatch& operator=(const GlobalAllocWatch&) = delete;
  ~GlobalAllocWatch();

  void refuse(UINT flags);
  const std::vector<Request>& requests() const;
  int count(UINT flags) const;
};

// One call of loadPngDib on `path`, with the request set up as a caller does. After pngDibOk it owns
// the block and releases it when destroyed.
class LoadedDib {
 public:
  explicit LoadedDib(const std::string& path);
  LoadedDib(const LoadedDib&) = delete;
  LoadedDib& operator=(const LoadedDib&) = delete;
  ~LoadedDib();

  PngDibResult result = pngDibOk;
  PngDibRequest request;

  const BITMAPINFOHEADER& header() const { return *request.block; }
  // Row `blockRow` of the block (0 is the bottom row), `stride` bytes.
  std::vector<std::uint8_t> row(std::uint32_t blockRow, std::uint32_t stride) const;
  // The whole block as bytes.
  std::vector<std::uint8_t> bytes() const;
};

#endif  // CATALOG_TESTS_PICTURE_SUPPORT_PNGFILES_H_
