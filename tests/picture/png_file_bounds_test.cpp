// The bounds that a file's real size sets on what it may declare: chunk lengths that must end inside
// the file, whichever way libpng cuts its reads, chunks that must not come before the header, the
// end of the image data after the last row, and the image data that a file can inflate to.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "picture/PngFileBounds.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void append32(Bytes& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A chunk as it stands in the stream; the CRC is not checked here, so it stays 0.
Bytes chunk(const std::string& type, std::uint32_t declaredLength, std::size_t dataBytes) {
  Bytes bytes;
  append32(bytes, declaredLength);
  bytes.insert(bytes.end(), type.begin(), type.end());
  bytes.resize(bytes.size() + dataBytes + 4);
  return bytes;
}

Bytes stream(const std::vector<Bytes>& chunks) {
  Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Bytes& c : chunks) bytes.insert(bytes.end(), c.begin(), c.end());
  return bytes;
}

// The 41-byte file of a declared 2 GiB text chunk, header and all, is what the bounds must catch
// at the read that completes its header.
Bytes withHugeTextHeader(Bytes bytes) {
  append32(bytes, 0x7FFFFFFF);
  const std::string type = "tEXt";
  bytes.insert(bytes.end(), type.begin(), type.end());
  return bytes;
}

struct StreamCase {
  const char* label;
  Bytes bytes;
  std::int64_t sizeChange;  // the stream size given to the bounds, against the bytes passed
  bool passes;
};

const std::vector<StreamCase>& streamCases() {
  static const std::vector<StreamCase> cases = {
      {"a whole file, its last chunk ending at the end", stream({chunk("IHDR", 13, 13), chunk("IEND", 0, 0)}),
       0, true},
      {"an empty chunk between others",
       stream({chunk("IHDR", 13, 13), chunk("sRGB", 0, 0), chunk("IEND", 0, 0)}), 0, true},
      {"a chunk one byte longer than the file", stream({chunk("IHDR", 13, 13), chunk("tEXt", 6, 5)}), 0,
       false},
      {"a chunk of 2^31 - 1 bytes in a file of 41", withHugeTextHeader(stream({chunk("IHDR", 13, 13)})), 0,
       false},
      {"a chunk ending at the end of a file not yet read",
       stream({chunk("IHDR", 13, 13), chunk("tEXt", 100, 0)}), 100, true},
      {"image data longer than the file, read piece by piece",
       stream({chunk("IHDR", 13, 13), chunk("IDAT", 5000, 20)}), 0, true},
      {"image data above 2^31 - 1", stream({chunk("IHDR", 13, 13), chunk("IDAT", 0x80000000u, 0)}), 0, false},
      {"a length above 2^31 - 1 in a file that large",
       stream({chunk("IHDR", 13, 13), chunk("tEXt", 0x80000000u, 0)}), std::int64_t{1} << 33, false},
      // libpng refuses every chunk that it knows before the header, so the skipped ones too.
      {"text before the header", stream({chunk("tEXt", 5, 5), chunk("IHDR", 13, 13), chunk("IEND", 0, 0)}), 0,
       false},
      {"a colour profile before the header",
       stream({chunk("iCCP", 9, 9), chunk("IHDR", 13, 13), chunk("IEND", 0, 0)}), 0, false},
      {"a private chunk before the header, which libpng lets pass",
       stream({chunk("vpAg", 9, 9), chunk("IHDR", 13, 13), chunk("IEND", 0, 0)}), 0, true},
      {"text after the header", stream({chunk("IHDR", 13, 13), chunk("tEXt", 5, 5), chunk("IEND", 0, 0)}), 0,
       true},
  };
  return cases;
}

bool passInPieces(const StreamCase& c, std::size_t piece) {
  picture::PngChunkBounds bounds(c.bytes.size() + c.sizeChange);
  bool passed = true;
  for (std::size_t at = 0; at < c.bytes.size() && passed; at += piece) {
    const std::size_t count = std::min(piece, c.bytes.size() - at);
    passed = bounds.pass(c.bytes.data() + at, count);
  }
  return passed;
}

TEST(PngChunkBoundsTest, ChunksMustEndInsideTheFileHoweverTheReadsAreCut) {
  for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{8}, std::size_t{1} << 20}) {
    for (const StreamCase& c : streamCases()) {
      SCOPED_TRACE(std::string(c.label) + ", pieces of " + std::to_string(piece));
      EXPECT_EQ(passInPieces(c, piece), c.passes);
    }
  }
}

TEST(PngChunkBoundsTest, HugeChunkIsRefusedByTheReadOfItsHeader) {
  const Bytes start = stream({chunk("IHDR", 13, 13)});
  const Bytes file = withHugeTextHeader(start);
  ASSERT_EQ(file.size(), 41u);
  picture::PngChunkBounds bounds(file.size());
  EXPECT_TRUE(bounds.pass(file.data(), start.size()));
  EXPECT_FALSE(bounds.pass(file.data() + start.size(), 8));
}

TEST(PngChunkBoundsTest, RefusedStreamStaysRefused) {
  const Bytes file = withHugeTextHeader(stream({chunk("IHDR", 13, 13)}));
  picture::PngChunkBounds bounds(file.size());
  EXPECT_FALSE(bounds.pass(file.data(), file.size()));
  const Bytes more = chunk("IEND", 0, 0);
  EXPECT_FALSE(bounds.pass(more.data(), more.size()));
}

// Image data as libpng reads it after the last row: the first kImageDataAfterRows bytes pass, one
// more does not, and other chunks do not count.
TEST(PngChunkBoundsTest, AfterTheLastRowOnlyTheEndOfTheImageDataPasses) {
  const Bytes header = stream({chunk("IHDR", 13, 13)});
  const Bytes imageData = chunk("IDAT", 5000, 5000);
  const Bytes text = chunk("tEXt", 3000, 3000);
  const Bytes file = stream({chunk("IHDR", 13, 13), imageData, text, imageData});
  const std::size_t rowsEnd = header.size() + 8 + 100;  // the rows took the first 100 bytes of data
  const std::size_t limit = rowsEnd + picture::kImageDataAfterRows;

  picture::PngChunkBounds bounds(file.size());
  ASSERT_TRUE(bounds.pass(file.data(), rowsEnd));
  bounds.rowsDecoded();
  EXPECT_TRUE(bounds.pass(file.data() + rowsEnd, limit - rowsEnd));
  EXPECT_FALSE(bounds.pass(file.data() + limit, 1));

  // The allowance is spent across chunks; the text between them does not count.
  const std::size_t firstDataEnd = header.size() + imageData.size() - 4;  // before its CRC
  const std::size_t secondData = header.size() + imageData.size() + text.size() + 8;
  picture::PngChunkBounds across(file.size());
  ASSERT_TRUE(across.pass(file.data(), firstDataEnd - 24));
  across.rowsDecoded();
  const std::size_t end = secondData + picture::kImageDataAfterRows - 24;
  EXPECT_TRUE(across.pass(file.data() + firstDataEnd - 24, end - (firstDataEnd - 24)));
  EXPECT_FALSE(across.pass(file.data() + end, 1));
}

struct ImageDataCase {
  const char* label;
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t pixelBits;
  bool interlaced;
  std::uint64_t bytes;
};

const ImageDataCase kImageData[] = {
    {"one grey pixel", 1, 1, 8, false, 2},
    {"1-bit rows of 3 pixels share a byte", 3, 2, 1, false, 4},
    {"16-bit RGBA", 2, 3, 64, false, 3 * 17},
    {"8 x 8 grey", 8, 8, 8, false, 72},
    // Passes of 1x1, 1x1, 2x1, 2x2, 4x2, 4x4 and 8x4 pixels, each row with its filter byte.
    {"8 x 8 grey, interlaced", 8, 8, 8, true, 2 + 2 + 3 + 6 + 10 + 20 + 36},
    // Only the first pass and the sixth have pixels; empty passes have no filter bytes either.
    {"2 x 1 grey, interlaced", 2, 1, 8, true, 4},
    {"one pixel, interlaced", 1, 1, 8, true, 2},
    {"a million rows of a 1-bit pixel", 1, 1000000, 1, false, 2000000},
    {"beyond 64 bits", 0x7FFFFFFF, 0x7FFFFFFF, 64, false, std::numeric_limits<std::uint64_t>::max()},
    {"beyond 64 bits, interlaced", 0x7FFFFFFF, 0x7FFFFFFF, 64, true,
     std::numeric_limits<std::uint64_t>::max()},
};

TEST(InflatedImageDataTest, EveryRowOfEveryPassCarriesAFilterByte) {
  for (const ImageDataCase& c : kImageData) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(picture::inflatedImageDataSize(c.width, c.height, c.pixelBits, c.interlaced), c.bytes);
  }
}

struct RowCountCase {
  const char* label;
  std::uint32_t width;
  std::uint32_t height;
  bool interlaced;
  std::uint64_t rows;
};

const RowCountCase kRowCounts[] = {
    {"5 x 3", 5, 3, false, 3},
    {"8 x 8, interlaced: passes of 1, 1, 1, 2, 2, 4 and 4 rows", 8, 8, true, 15},
    {"one pixel, interlaced", 1, 1, true, 1},
    // One column: only the passes that start in column 0 have pixels, and they hold each row once.
    {"1 x 9, interlaced", 1, 9, true, 9},
    // One row: the four passes that start in row 0.
    {"9 x 1, interlaced", 9, 1, true, 4},
    {"3 x 1, interlaced: the pass that starts in column 4 is empty", 3, 1, true, 3},
};

TEST(InflatedImageDataTest, RowsAreThoseOfEveryPassWithPixels) {
  for (const RowCountCase& c : kRowCounts) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(picture::decodedRowCount(c.width, c.height, c.interlaced), c.rows);
  }
}

TEST(InflatedImageDataTest, FileHoldsAtMostWhatItsBytesInflateTo) {
  // One row of w grey pixels needs w + 1 bytes of image data.
  EXPECT_TRUE(picture::imageDataFitsFile(1031, 1, 8, false, 1));
  EXPECT_FALSE(picture::imageDataFitsFile(1032, 1, 8, false, 1));
  EXPECT_TRUE(picture::imageDataFitsFile(1, 1000000, 1, false, 2000000 / 1032 + 1));
  EXPECT_FALSE(picture::imageDataFitsFile(1, 1000000, 1, false, 2000000 / 1032));
  EXPECT_FALSE(picture::imageDataFitsFile(0x7FFFFFFF, 0x7FFFFFFF, 64, true, std::uint64_t{1} << 40));
  EXPECT_FALSE(picture::imageDataFitsFile(1, 1, 8, false, 0));
}

}  // namespace
