// The loader on files that declare far more than they hold or than any picture needs: a chunk
// length of 2 GiB in a file of a few dozen bytes, text that inflates to megabytes, dimensions that
// no data of the file can fill, pictures of a billion pixels in a few kilobytes, image data that
// goes on inflating past the last row. A failing decode must cost no more than the file's real size
// and the largest picture's, seen here through libpng's own allocations, the loader's GlobalAlloc
// requests and the bytes read from the file; every valid picture still decodes unchanged.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "common/PngBytes.h"
#include "common/ResourceUse.h"
#include "picture/PngDib.h"
#include "picture/PngFileBounds.h"
#include "picture/support/LibpngMemory.h"
#include "picture/support/PngFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// What libpng needs for a small picture: its structures, the inflate window and a row or two.
constexpr std::size_t kLargestLibpngRequest = 64 * 1024;
constexpr std::size_t kMostLibpngHolds = 256 * 1024;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes deflated(const Bytes& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
  out.resize(size);
  return out;
}

Bytes concatenated(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class PngDibHostileTest : public ::testing::Test {
 protected:
  std::vector<PngChunk> chunksOf(const PngPicture& picture) {
    const std::string path = folder.file("source.dat");
    writePng(path, picture);
    return splitPng(readBytes(path));
  }

  std::string write(const Bytes& bytes, const std::string& name = "picture.dat") {
    const std::string path = folder.file(name);
    writeBytes(path, bytes);
    return path;
  }

  std::string write(const PngPicture& picture, const std::string& name) {
    const std::string path = folder.file(name);
    writePng(path, picture);
    return path;
  }

  TempFolder folder;
};

std::size_t indexOfType(const std::vector<PngChunk>& chunks, const std::string& type) {
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    if (chunks[i].type == type) return i;
  }
  ADD_FAILURE() << "fixture has no " << type << " chunk";
  return 0;
}

struct HugeChunkCase {
  const char* label;
  const char* type;
  int colorType;
  const char* before;  // the chunk of the picture that the huge one takes the place of
  bool blockRequested;
};

const HugeChunkCase kHugeChunks[] = {
    // The damaged file of 41 bytes that once took seconds and gigabytes to fail.
    {"text", "tEXt", PNG_COLOR_TYPE_GRAY, "IDAT", false},
    {"compressed text", "zTXt", PNG_COLOR_TYPE_GRAY, "IDAT", false},
    {"international text", "iTXt", PNG_COLOR_TYPE_GRAY, "IDAT", false},
    {"colour profile", "iCCP", PNG_COLOR_TYPE_GRAY, "IDAT", false},
    {"suggested palette", "sPLT", PNG_COLOR_TYPE_GRAY, "IDAT", false},
    {"private chunk", "vpAg", PNG_COLOR_TYPE_GRAY, "IDAT", false},
    {"palette", "PLTE", PNG_COLOR_TYPE_PALETTE, "PLTE", false},
    // libpng reads image data in small pieces, so the rows are set up before the read that
    // finds the end of the file.
    {"image data", "IDAT", PNG_COLOR_TYPE_GRAY, "IDAT", true},
    {"text after the image data", "tEXt", PNG_COLOR_TYPE_GRAY, "IEND", true},
};

TEST_F(PngDibHostileTest, HugeChunkLengthFailsWithinWhatTheFileHolds) {
  for (const HugeChunkCase& c : kHugeChunks) {
    SCOPED_TRACE(c.label);
    const int paletteSize = c.colorType == PNG_COLOR_TYPE_PALETTE ? 2 : 0;
    std::vector<PngChunk> chunks = chunksOf(patternPicture(1, 1, c.colorType, 8, paletteSize));
    chunks.resize(indexOfType(chunks, c.before));
    // The file ends right after the header of a chunk that declares 2 GiB - 1 bytes.
    Bytes file = joinPng(chunks, true);
    file.insert(file.end(), {0x7F, 0xFF, 0xFF, 0xFF});
    file.insert(file.end(), c.type, c.type + 4);
    const std::string path = write(file);

    const int filesBefore = openFileCount();
    LibpngMemoryWatch libpng;
    GlobalAllocWatch watch;
    const LoadedDib dib(path);
    EXPECT_EQ(dib.result, pngDibDecodeError);
    EXPECT_LE(libpng.largestRequest(), kLargestLibpngRequest);
    EXPECT_LE(libpng.peakHeld(), kMostLibpngHolds);
    EXPECT_EQ(libpng.heldNow(), 0u);
    EXPECT_EQ(watch.count(GMEM_ZEROINIT), c.blockRequested ? 1 : 0);
    EXPECT_EQ(openFileCount(), filesBefore);
  }
}

struct CompressedTextCase {
  const char* label;
  const char* type;
  Bytes head;  // everything of the chunk before its compressed text
};

const CompressedTextCase kCompressedTexts[] = {
    {"compressed text", "zTXt", concatenated({bytesOf("Comment"), Bytes{0, 0}})},
    {"compressed international text", "iTXt", concatenated({bytesOf("Comment"), Bytes{0, 1, 0, 0, 0}})},
};

TEST_F(PngDibHostileTest, CompressedTextIsNeverInflated) {
  // Seven megabytes of text in a few kilobytes: just within what libpng would inflate on its own.
  const Bytes text = deflated(Bytes(7000000, 'x'));
  const std::vector<PngChunk> plain = chunksOf(patternPicture(6, 5, PNG_COLOR_TYPE_RGB, 8));
  const LoadedDib expected(write(joinPng(plain, true), "plain.dat"));
  ASSERT_EQ(expected.result, pngDibOk);
  for (const CompressedTextCase& c : kCompressedTexts) {
    SCOPED_TRACE(c.label);
    std::vector<PngChunk> chunks = plain;
    chunks.insert(chunks.begin() + 1, PngChunk{c.type, concatenated({c.head, text})});
    const std::string path = write(joinPng(chunks, true));

    LibpngMemoryWatch libpng;
    const LoadedDib dib(path);
    ASSERT_EQ(dib.result, pngDibOk);
    EXPECT_LE(libpng.peakHeld(), kMostLibpngHolds);
    EXPECT_EQ(dib.bytes(), expected.bytes());
  }
}

PngChunk rawChunk(const std::string& type, const Bytes& data) { return PngChunk{type, data}; }

TEST_F(PngDibHostileTest, PictureWithEveryAncillaryChunkDecodesAsWithoutThem) {
  PngPicture picture = patternPicture(9, 7, PNG_COLOR_TYPE_PALETTE, 4, 5);
  picture.hasPhys = true;
  picture.physX = 2835;
  picture.physY = 3780;
  picture.physUnit = PNG_RESOLUTION_METER;
  const std::vector<PngChunk> plain = chunksOf(picture);
  const LoadedDib expected(write(joinPng(plain, true), "plain.dat"));
  ASSERT_EQ(expected.result, pngDibOk);

  const std::vector<PngChunk> beforePalette = {
      rawChunk("gAMA", {0, 0, 0xB1, 0x8F}),
      rawChunk("cHRM", Bytes(32, 1)),
      rawChunk("iCCP", concatenated({bytesOf("profile"), Bytes{0, 0}, deflated(Bytes(3000, 7))})),
      rawChunk("sBIT", {4, 4, 4}),
  };
  const std::vector<PngChunk> beforeImageData = {
      rawChunk("tRNS", {0, 128, 255}),
      rawChunk("bKGD", {2}),
      rawChunk("hIST", Bytes(10, 1)),
      rawChunk("sPLT", concatenated({bytesOf("suggested"), Bytes{0, 8}, Bytes(6 * 4, 9)})),
      rawChunk("tEXt", concatenated({bytesOf("Title"), Bytes{0}, bytesOf("exhaust")})),
      rawChunk("zTXt", concatenated({bytesOf("Comment"), Bytes{0, 0}, deflated(bytesOf("silencer"))})),
      rawChunk("iTXt", concatenated({bytesOf("Author"), Bytes{0, 0, 0}, bytesOf("de"), Bytes{0, 0},
                                     bytesOf("Werkstatt")})),
      rawChunk("tIME", {0x07, 0xE4, 1, 2, 3, 4, 5}),
      rawChunk("oFFs", Bytes(9, 0)),
      rawChunk("eXIf", concatenated({bytesOf("MM"), Bytes{0, 42, 0, 0, 0, 8}})),
      rawChunk("vpAg", Bytes(9, 3)),
  };
  const std::vector<PngChunk> afterImageData = {
      rawChunk("tEXt", concatenated({bytesOf("Software"), Bytes{0}, bytesOf("catalogue")})),
      rawChunk("tIME", {0x07, 0xE5, 6, 7, 8, 9, 10}),
  };
  std::vector<PngChunk> chunks = plain;
  chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(indexOfType(chunks, "IEND")),
                afterImageData.begin(), afterImageData.end());
  chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(indexOfType(chunks, "IDAT")),
                beforeImageData.begin(), beforeImageData.end());
  chunks.insert(chunks.begin() + 1, beforePalette.begin(), beforePalette.end());

  const LoadedDib dib(write(joinPng(chunks, true)));
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.bytes(), expected.bytes());
  EXPECT_EQ(dib.header().biXPelsPerMeter, 2835);
  EXPECT_EQ(dib.header().biYPelsPerMeter, 3780);
  EXPECT_EQ(dib.header().biClrUsed, 5u);
}

// A picture of nothing but zeros compresses about as far as deflate goes, close to the bound that
// the loader sets on what a file may inflate to; the largest such picture must still decode.
TEST_F(PngDibHostileTest, MostCompressiblePictureStillDecodes) {
  constexpr std::uint32_t kWidth = 1024;
  constexpr std::uint32_t kHeight = 512;
  // 16-bit RGBA: a filter byte and 8 bytes a pixel in each row, all zero.
  const Bytes imageData(std::size_t{kHeight} * (1 + 8 * kWidth), 0);
  std::vector<PngChunk> chunks = chunksOf(patternPicture(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16));
  PngChunk& header = chunks.at(indexOfType(chunks, "IHDR"));
  putBigEndian32(header.data, 0, kWidth);
  putBigEndian32(header.data, 4, kHeight);
  chunks.at(indexOfType(chunks, "IDAT")).data = deflated(imageData);
  const Bytes file = joinPng(chunks, true);
  ASSERT_GT(imageData.size() / file.size(), 1000u) << "the fixture should compress as far as zlib goes";

  const LoadedDib dib(write(file));
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.request.blockSize, static_cast<std::int32_t>(40 + kHeight * 3 * kWidth));
  EXPECT_EQ(dib.row(0, 3 * kWidth), Bytes(3 * kWidth, 0));
}

TEST_F(PngDibHostileTest, FolderOrDeviceIsNotAPictureFile) {
  const std::string paths[] = {folder.path(), "/dev/zero"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    const int filesBefore = openFileCount();
    GlobalAllocWatch watch;
    const LoadedDib dib(path);
    EXPECT_EQ(dib.result, pngDibCannotOpen);
    EXPECT_TRUE(watch.requests().empty());
    EXPECT_EQ(openFileCount(), filesBefore);
  }
}

struct SizeBoundCase {
  const char* label;
  png_bytes::HostilePicture picture;
  PngDibResult result;
};

const SizeBoundCase kSizeBounds[] = {
    {"the hostile 1-bit grey picture", png_bytes::kHostilePictures[0], pngDibNoMemory},
    {"the hostile palette picture", png_bytes::kHostilePictures[1], pngDibNoMemory},
    {"the hostile RGB picture", png_bytes::kHostilePictures[2], pngDibNoMemory},
    {"one pixel wider than the widest", {"", 4097, 1, PNG_COLOR_TYPE_GRAY, 1, 0}, pngDibNoMemory},
    {"one pixel higher than the highest", {"", 1, 4097, PNG_COLOR_TYPE_GRAY, 1, 0}, pngDibNoMemory},
    {"one row more than the most pixels", {"", 1024, 513, PNG_COLOR_TYPE_GRAY, 1, 0}, pngDibNoMemory},
    {"the widest", {"", 4096, 128, PNG_COLOR_TYPE_RGB, 8, 0}, pngDibOk},
    {"the highest", {"", 128, 4096, PNG_COLOR_TYPE_PALETTE, 8, 256}, pngDibOk},
    {"the most pixels", {"", 1024, 512, PNG_COLOR_TYPE_RGB_ALPHA, 16, 0}, pngDibOk},
};

// A picture beyond the largest is refused on its header: nothing is allocated for it and none of
// its image data is inflated. (The block is refused too, should a loader ask for one, so that this
// test never takes the gigabytes that such a picture once took.)
TEST_F(PngDibHostileTest, PictureLargerThanAnyCataloguePictureIsRefusedBeforeAnythingIsAllocated) {
  for (const SizeBoundCase& c : kSizeBounds) {
    if (c.result == pngDibOk) continue;
    SCOPED_TRACE(c.label);
    const std::string path = write(c.picture.bytes());

    const int filesBefore = openFileCount();
    LibpngMemoryWatch libpng;
    GlobalAllocWatch watch;
    watch.refuse(GMEM_ZEROINIT);
    const FileReadCount reads;
    const LoadedDib dib(path);
    EXPECT_EQ(dib.result, c.result);
    EXPECT_TRUE(watch.requests().empty());
    EXPECT_LE(libpng.largestRequest(), kLargestLibpngRequest);
    EXPECT_LE(libpng.peakHeld(), kMostLibpngHolds);
    EXPECT_LE(reads.bytes(), 16u * 1024) << "the image data was read";
    EXPECT_EQ(openFileCount(), filesBefore);
  }
}

TEST_F(PngDibHostileTest, LargestPicturesStillDecode) {
  for (const SizeBoundCase& c : kSizeBounds) {
    if (c.result != pngDibOk) continue;
    SCOPED_TRACE(c.label);
    const LoadedDib dib(write(c.picture.bytes()));
    ASSERT_EQ(dib.result, pngDibOk);
    EXPECT_EQ(dib.header().biWidth, static_cast<std::int32_t>(c.picture.width));
    EXPECT_EQ(dib.header().biHeight, static_cast<std::int32_t>(c.picture.height));
  }
}

struct MisplacedChunkCase {
  const char* label;
  PngChunk chunk;
  PngDibResult result;
};

const MisplacedChunkCase kBeforeTheHeader[] = {
    {"text", rawChunk("tEXt", concatenated({bytesOf("Title"), Bytes{0}, bytesOf("exhaust")})),
     pngDibDecodeError},
    {"compressed text",
     rawChunk("zTXt", concatenated({bytesOf("Comment"), Bytes{0, 0}, deflated(bytesOf("x"))})),
     pngDibDecodeError},
    {"international text", rawChunk("iTXt", concatenated({bytesOf("Author"), Bytes{0, 0, 0, 0, 0}})),
     pngDibDecodeError},
    {"colour profile", rawChunk("iCCP", concatenated({bytesOf("icc"), Bytes{0, 0}, deflated(Bytes(50, 7))})),
     pngDibDecodeError},
    {"suggested palette", rawChunk("sPLT", concatenated({bytesOf("s"), Bytes{0, 8}, Bytes(6, 9)})),
     pngDibDecodeError},
    {"Exif", rawChunk("eXIf", concatenated({bytesOf("MM"), Bytes{0, 42, 0, 0, 0, 8}})), pngDibDecodeError},
    {"pixel calibration", rawChunk("pCAL", Bytes(20, 1)), pngDibDecodeError},
    {"physical scale", rawChunk("sCAL", {1, '1', 0, '1'}), pngDibDecodeError},
    {"gamma, which libpng reads itself", rawChunk("gAMA", {0, 0, 0xB1, 0x8F}), pngDibDecodeError},
    {"a private chunk, which libpng lets pass", rawChunk("vpAg", Bytes(9, 3)), pngDibOk},
};

// The chunks that the loader skips unread must stand where libpng would take them too.
TEST_F(PngDibHostileTest, ChunkBeforeTheHeaderIsADecodeErrorAsLibpngGivesIt) {
  const std::vector<PngChunk> plain = chunksOf(patternPicture(6, 5, PNG_COLOR_TYPE_RGB, 8));
  const LoadedDib expected(write(joinPng(plain, true), "plain.dat"));
  ASSERT_EQ(expected.result, pngDibOk);
  for (const MisplacedChunkCase& c : kBeforeTheHeader) {
    SCOPED_TRACE(c.label);
    std::vector<PngChunk> chunks = plain;
    chunks.insert(chunks.begin(), c.chunk);
    GlobalAllocWatch watch;
    const LoadedDib dib(write(joinPng(chunks, true)));
    EXPECT_EQ(dib.result, c.result);
    if (c.result == pngDibOk) {
      EXPECT_EQ(dib.bytes(), expected.bytes());
    } else {
      EXPECT_TRUE(watch.requests().empty());
    }
  }
}

// Samples that do not compress, so that the image data runs to as many bytes as the pixels.
PngPicture noisePicture(std::uint32_t width, std::uint32_t height) {
  PngPicture picture = patternPicture(width, height, PNG_COLOR_TYPE_RGB, 8);
  std::uint32_t state = 12345;
  for (std::vector<std::uint8_t>& row : picture.rows) {
    for (std::uint8_t& sample : row) {
      state = state * 1103515245u + 12345u;
      sample = static_cast<std::uint8_t>(state >> 24);
    }
  }
  return picture;
}

struct PictureShape {
  const char* label;
  std::uint32_t width;
  std::uint32_t height;
  bool interlaced;
};

const PictureShape kShapes[] = {
    {"one pixel", 1, 1, false},
    {"one pixel, interlaced", 1, 1, true},
    {"one column, interlaced", 1, 9, true},
    {"one row, interlaced", 9, 1, true},
    {"30 x 20, interlaced", 30, 20, true},
    {"3 x 257, interlaced", 3, 257, true},
    {"257 x 3", 257, 3, false},
};

// A picture of zeros whose compressed stream goes on with `extra` more zeros after its rows.
Bytes withImageDataPastTheRows(const PictureShape& shape, std::uint64_t extra) {
  using namespace png_bytes;
  const std::uint64_t rows = picture::inflatedImageDataSize(shape.width, shape.height, 8, shape.interlaced);
  Bytes file = kSignature;
  for (const Bytes& c : {headerChunk(shape.width, shape.height, 8, PNG_COLOR_TYPE_GRAY, shape.interlaced),
                         chunk("IDAT", deflatedZeros(rows + extra)), chunk("IEND", {})})
    file.insert(file.end(), c.begin(), c.end());
  return file;
}

// libpng inflates the rest of the image data after the last row, only to drop it: a file of 100 kB
// would cost 100 MB of inflating, 2 MB two gigabytes. Such data is refused after its first bytes.
TEST_F(PngDibHostileTest, ImageDataGoingOnPastTheLastRowIsRefusedBeforeItIsInflated) {
  for (const PictureShape& shape : kShapes) {
    SCOPED_TRACE(shape.label);
    const Bytes file = withImageDataPastTheRows(shape, 100u * 1024 * 1024);
    ASSERT_GT(file.size(), 90u * 1024);
    const std::string path = write(file);
    const FileReadCount reads;
    GlobalAllocWatch watch;
    const LoadedDib dib(path);
    EXPECT_EQ(dib.result, pngDibDecodeError);
    EXPECT_LE(reads.bytes(), 16u * 1024);
    EXPECT_EQ(watch.count(GMEM_ZEROINIT), 1) << "refused while its rows were decoded";
  }
}

// A stream that ends with the last row, as every encoder writes it, whatever the passes and
// however little of it compresses: the end after the rows may not be held against it.
TEST_F(PngDibHostileTest, ImageDataEndingWithTheLastRowDecodesWhateverThePictureShape) {
  for (const PictureShape& shape : kShapes) {
    SCOPED_TRACE(shape.label);
    PngPicture picture = noisePicture(shape.width, shape.height);
    const LoadedDib plain(write(picture, "plain.dat"));
    picture.interlaced = shape.interlaced;
    const LoadedDib dib(write(picture, "shaped.dat"));
    ASSERT_EQ(plain.result, pngDibOk);
    ASSERT_EQ(dib.result, pngDibOk);
    EXPECT_EQ(dib.bytes(), plain.bytes());
    const LoadedDib zeros(write(withImageDataPastTheRows(shape, 0), "zeros.dat"));
    EXPECT_EQ(zeros.result, pngDibOk);
  }
}

// Opening a named pipe waits for a writer, for ever if none comes; the loader must not wait.
TEST_F(PngDibHostileTest, NamedPipeIsNoPictureFileAndOpensWithoutWaiting) {
  const std::string path = folder.file("pipe.dat");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  auto load = std::async(std::launch::async, [&path] { return LoadedDib(path).result; });
  if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // Let the stuck open go on, so that the test fails instead of hanging.
    const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);
    ADD_FAILURE() << "the loader still waits for the pipe after 10 seconds";
    load.wait();
    if (writer >= 0) close(writer);
    return;
  }
  EXPECT_EQ(load.get(), pngDibCannotOpen);
}

}  // namespace
