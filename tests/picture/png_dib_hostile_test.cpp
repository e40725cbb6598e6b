// The loader on files that declare far more than they hold: a chunk length of 2 GiB in a file of a
// few dozen bytes, text that inflates to megabytes, dimensions that no data of the file can fill.
// A failing decode must cost no more than the file's real size, seen here through libpng's own
// allocations and the loader's GlobalAlloc requests; every valid picture still decodes unchanged.

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/PngDib.h"
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
// the loader sets on what a file may inflate to; it must still decode.
TEST_F(PngDibHostileTest, MostCompressiblePictureStillDecodes) {
  constexpr std::uint32_t kSide = 4000;
  const Bytes imageData(std::size_t{kSide} * (kSide + 1), 0);  // filter byte 0 and black pixels
  std::vector<PngChunk> chunks = chunksOf(patternPicture(1, 1, PNG_COLOR_TYPE_GRAY, 8));
  PngChunk& header = chunks.at(indexOfType(chunks, "IHDR"));
  putBigEndian32(header.data, 0, kSide);
  putBigEndian32(header.data, 4, kSide);
  chunks.at(indexOfType(chunks, "IDAT")).data = deflated(imageData);
  const Bytes file = joinPng(chunks, true);
  ASSERT_GT(imageData.size() / file.size(), 1020u) << "the fixture should compress as far as zlib goes";

  const LoadedDib dib(write(file));
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.request.blockSize, static_cast<std::int32_t>(40 + 256 * 4 + kSide * kSide));
  EXPECT_EQ(dib.row(0, kSide), Bytes(kSide, 0));
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

}  // namespace
