// The loader on bad requests, missing, damaged and hostile files, and when memory runs out: each
// returns its result code with the file closed and nothing left allocated. What the loader frees is
// checked by LeakSanitizer in the sanitize build; what it asks for and when, by watching GlobalAlloc.

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "picture/PngDib.h"
#include "picture/support/PngFiles.h"

namespace {

class PngDibFailureTest : public ::testing::Test {
 protected:
  void TearDown() override { picture::setPngStructHooks(nullptr); }

  // A small good picture whose image data spans several IDAT chunks' worth of rows.
  std::string writeGood(const std::string& name, int colorType = PNG_COLOR_TYPE_RGB, int bitDepth = 8,
                        int paletteSize = 0) {
    const std::string path = folder.file(name);
    writePng(path, patternPicture(40, 30, colorType, bitDepth, paletteSize));
    return path;
  }

  TempFolder folder;
};

int g_readStructCalls = 0;

png_struct_def* refuseReadStruct(const char*, void*, picture::PngStructHooks::MessageHandler,
                                 picture::PngStructHooks::MessageHandler) {
  ++g_readStructCalls;
  return nullptr;
}

png_info_def* refuseInfoStruct(png_struct_def*) { return nullptr; }

TEST_F(PngDibFailureTest, WrongRecordSizeIsRefusedBeforeAnythingIsDone) {
  const std::string path = writeGood("good.dat");
  const std::int32_t sizes[] = {0,
                                39,
                                40,
                                static_cast<std::int32_t>(sizeof(PngDibRequest)) - 1,
                                static_cast<std::int32_t>(sizeof(PngDibRequest)) + 1,
                                -1};
  picture::PngStructHooks hooks;
  hooks.createReadStruct = refuseReadStruct;
  picture::setPngStructHooks(&hooks);
  GlobalAllocWatch watch;
  for (std::int32_t size : sizes) {
    if (size == static_cast<std::int32_t>(sizeof(PngDibRequest))) continue;
    SCOPED_TRACE(size);
    g_readStructCalls = 0;
    PngDibRequest request;
    request.size = size;
    request.path = path.c_str();
    EXPECT_EQ(loadPngDib(&request), pngDibBadRequest);
    EXPECT_EQ(g_readStructCalls, 0);
    EXPECT_EQ(request.block, nullptr);
    EXPECT_EQ(request.blockSize, 0);
    EXPECT_EQ(request.bits, nullptr);
  }
  EXPECT_TRUE(watch.requests().empty());
}

TEST_F(PngDibFailureTest, NullRequestIsABadRequest) { EXPECT_EQ(loadPngDib(nullptr), pngDibBadRequest); }

TEST_F(PngDibFailureTest, MissingFileCannotBeOpened) {
  const int filesBefore = openFileCount();
  GlobalAllocWatch watch;
  const LoadedDib missing(folder.file("no such picture.dat"));
  EXPECT_EQ(missing.result, pngDibCannotOpen);
  const LoadedDib unnamed("");
  EXPECT_EQ(unnamed.result, pngDibCannotOpen);
  EXPECT_TRUE(watch.requests().empty());
  EXPECT_EQ(openFileCount(), filesBefore);
}

TEST_F(PngDibFailureTest, NullPathCannotBeOpened) {
  PngDibRequest request;
  request.size = sizeof request;
  EXPECT_EQ(loadPngDib(&request), pngDibCannotOpen);
}

using Damage = std::function<std::vector<std::uint8_t>(std::vector<PngChunk>& chunks,
                                                       const std::vector<std::uint8_t>& file)>;

PngChunk& chunkOfType(std::vector<PngChunk>& chunks, const std::string& type) {
  for (PngChunk& chunk : chunks) {
    if (chunk.type == type) return chunk;
  }
  ADD_FAILURE() << "fixture has no " << type << " chunk";
  return chunks.front();
}

struct DamageCase {
  const char* label;
  int colorType;
  int bitDepth;
  int paletteSize;
  Damage damage;
  bool failsAfterTheBlockIsAllocated;
};

const DamageCase kDamaged[] = {
    {"not a PNG file", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>&, const std::vector<std::uint8_t>&) {
       const std::string text = "GIF89a is what this file claims to be.";
       return std::vector<std::uint8_t>(text.begin(), text.end());
     },
     false},
    {"empty file", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>&, const std::vector<std::uint8_t>&) { return std::vector<std::uint8_t>(); },
     false},
    {"cut off after the signature", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>&, const std::vector<std::uint8_t>& file) {
       return std::vector<std::uint8_t>(file.begin(), file.begin() + 8);
     },
     false},
    {"cut off in the image data", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       std::vector<std::uint8_t> whole = joinPng(chunks, true);
       const std::size_t idatSize = chunkOfType(chunks, "IDAT").data.size();
       whole.resize(whole.size() - 12 /* IEND */ - 4 /* CRC */ - idatSize / 2);
       return whole;
     },
     true},
    {"damaged CRC of the header chunk", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       chunkOfType(chunks, "IHDR").crc ^= 1;
       return joinPng(chunks, false);
     },
     false},
    {"damaged CRC of the image data", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       chunkOfType(chunks, "IDAT").crc ^= 0x80000000u;
       return joinPng(chunks, false);
     },
     true},
    {"damaged CRC of the end chunk", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       chunkOfType(chunks, "IEND").crc ^= 0x10;
       return joinPng(chunks, false);
     },
     true},
    {"image data that does not inflate", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       chunkOfType(chunks, "IDAT").data.at(0) = 0xFF;
       return joinPng(chunks, true);
     },
     true},
    {"too little image data", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       // A complete zlib stream of no bytes at all.
       chunkOfType(chunks, "IDAT").data = {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
       return joinPng(chunks, true);
     },
     true},
    {"palette picture without a palette", PNG_COLOR_TYPE_PALETTE, 4, 5,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       std::vector<PngChunk> kept;
       for (const PngChunk& chunk : chunks) {
         if (chunk.type != "PLTE") kept.push_back(chunk);
       }
       return joinPng(kept, true);
     },
     false},
    {"colour type 5", PNG_COLOR_TYPE_RGB, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       chunkOfType(chunks, "IHDR").data.at(9) = 5;
       return joinPng(chunks, true);
     },
     false},
    {"bit depth 3", PNG_COLOR_TYPE_GRAY, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       chunkOfType(chunks, "IHDR").data.at(8) = 3;
       return joinPng(chunks, true);
     },
     false},
    {"zero width", PNG_COLOR_TYPE_GRAY, 8, 0,
     [](std::vector<PngChunk>& chunks, const std::vector<std::uint8_t>&) {
       putBigEndian32(chunkOfType(chunks, "IHDR").data, 0, 0);
       return joinPng(chunks, true);
     },
     false},
};

TEST_F(PngDibFailureTest, DamagedFileIsADecodeErrorWithEverythingReleased) {
  for (const DamageCase& c : kDamaged) {
    SCOPED_TRACE(c.label);
    const std::string good = writeGood("good.dat", c.colorType, c.bitDepth, c.paletteSize);
    const std::vector<std::uint8_t> file = readBytes(good);
    std::vector<PngChunk> chunks = splitPng(file);
    const std::string path = folder.file("damaged.dat");
    writeBytes(path, c.damage(chunks, file));

    const int filesBefore = openFileCount();
    GlobalAllocWatch watch;
    const LoadedDib dib(path);
    EXPECT_EQ(dib.result, pngDibDecodeError);
    EXPECT_EQ(watch.count(GMEM_ZEROINIT), c.failsAfterTheBlockIsAllocated ? 1 : 0);
    EXPECT_EQ(openFileCount(), filesBefore);
  }
}

TEST_F(PngDibFailureTest, DamagedAncillaryChunkIsDroppedAndThePictureLoads) {
  PngPicture picture = patternPicture(5, 4, PNG_COLOR_TYPE_RGB, 8);
  picture.hasPhys = true;
  picture.physX = picture.physY = 2835;
  picture.physUnit = PNG_RESOLUTION_METER;
  const std::string path = folder.file("picture.dat");
  writePng(path, picture);
  std::vector<PngChunk> chunks = splitPng(readBytes(path));
  chunkOfType(chunks, "pHYs").crc ^= 1;
  writeBytes(path, joinPng(chunks, false));

  const LoadedDib dib(path);
  ASSERT_EQ(dib.result, pngDibOk);
  EXPECT_EQ(dib.header().biXPelsPerMeter, 0);
  EXPECT_EQ(dib.header().biWidth, 5);
}

struct HostileCase {
  const char* label;
  int colorType;
  int bitDepth;
  std::uint32_t width;
  std::uint32_t height;
  std::size_t padding;  // bytes of a private chunk that the loader skips, to make the file larger
  PngDibResult result;
  bool blockRequested;
};

const HostileCase kHostile[] = {
    {"2^31-1 pixels square, beyond libpng's limits", PNG_COLOR_TYPE_GRAY, 8, 0x7FFFFFFF, 0x7FFFFFFF, 0,
     pngDibDecodeError, false},
    {"a million pixels square, image beyond 32 bits", PNG_COLOR_TYPE_RGB, 8, 1000000, 1000000, 0,
     pngDibNoMemory, false},
    {"image within 32 bits, block beyond 2 GiB", PNG_COLOR_TYPE_GRAY, 8, 1000000, 2200, 0, pngDibNoMemory,
     false},
    // The largest picture needs half a megabyte of image data (a filter byte and 1024 pixel bytes
    // per row), which cannot come from a file of a hundred bytes, whatever its compression.
    {"the largest picture in a file too small to hold its data", PNG_COLOR_TYPE_GRAY, 8, 1024, 512, 0,
     pngDibDecodeError, false},
    {"the largest picture with one row of data", PNG_COLOR_TYPE_GRAY, 8, 1024, 512, 2000, pngDibDecodeError,
     true},
};

TEST_F(PngDibFailureTest, HugeDeclaredSizeWithTinyDataFailsWithoutAWrongAllocation) {
  for (const HostileCase& c : kHostile) {
    SCOPED_TRACE(c.label);
    const std::string path = folder.file("hostile.dat");
    writePng(path, patternPicture(1, 1, c.colorType, c.bitDepth));
    std::vector<PngChunk> chunks = splitPng(readBytes(path));
    PngChunk& header = chunkOfType(chunks, "IHDR");
    putBigEndian32(header.data, 0, c.width);
    putBigEndian32(header.data, 4, c.height);
    if (c.padding != 0)
      chunks.insert(chunks.begin() + 1, PngChunk{"paDd", std::vector<std::uint8_t>(c.padding)});
    writeBytes(path, joinPng(chunks, true));

    const int filesBefore = openFileCount();
    GlobalAllocWatch watch;
    const LoadedDib dib(path);
    EXPECT_EQ(dib.result, c.result);
    ASSERT_EQ(watch.count(GMEM_ZEROINIT), c.blockRequested ? 1 : 0);
    if (c.blockRequested) {
      const std::uint64_t stride = (std::uint64_t{c.width} * c.bitDepth + 31) / 32 * 4;
      const std::uint64_t colours = 1u << c.bitDepth;
      EXPECT_EQ(watch.requests().at(0).bytes, 40 + 4 * colours + c.height * stride);
      ASSERT_EQ(watch.count(GMEM_FIXED), 1);
      EXPECT_EQ(watch.requests().at(1).bytes, c.height * sizeof(void*));
    }
    EXPECT_EQ(openFileCount(), filesBefore);
  }
}

struct AllocationCase {
  const char* label;
  bool refuseReadStruct;
  bool refuseInfoStruct;
  bool refuseBlock;
  bool refuseRowTable;
  int blockRequests;
  int rowTableRequests;
};

const AllocationCase kAllocations[] = {
    {"read structure", true, false, false, false, 0, 0},
    {"info structure", false, true, false, false, 0, 0},
    {"block", false, false, true, false, 1, 0},
    {"row table", false, false, false, true, 1, 1},
};

TEST_F(PngDibFailureTest, EachFailedAllocationIsNoMemoryWithEverythingReleased) {
  const std::string path = writeGood("good.dat", PNG_COLOR_TYPE_PALETTE, 8, 7);
  for (const AllocationCase& c : kAllocations) {
    SCOPED_TRACE(c.label);
    picture::PngStructHooks hooks;
    if (c.refuseReadStruct) hooks.createReadStruct = refuseReadStruct;
    if (c.refuseInfoStruct) hooks.createInfoStruct = refuseInfoStruct;
    picture::setPngStructHooks(&hooks);
    const int filesBefore = openFileCount();
    GlobalAllocWatch watch;
    if (c.refuseBlock) watch.refuse(GMEM_ZEROINIT);
    if (c.refuseRowTable) watch.refuse(GMEM_FIXED);

    const LoadedDib dib(path);
    EXPECT_EQ(dib.result, pngDibNoMemory);
    EXPECT_EQ(watch.count(GMEM_ZEROINIT), c.blockRequests);
    EXPECT_EQ(watch.count(GMEM_FIXED), c.rowTableRequests);
    EXPECT_EQ(openFileCount(), filesBefore);
    picture::setPngStructHooks(nullptr);
  }
}

TEST_F(PngDibFailureTest, BlockSizeIsKnownWhenTheBlockIsRequested) {
  const std::string path = writeGood("good.dat");
  GlobalAllocWatch watch;
  watch.refuse(GMEM_ZEROINIT);
  const LoadedDib dib(path);
  EXPECT_EQ(dib.result, pngDibNoMemory);
  ASSERT_EQ(watch.requests().size(), 1u);
  EXPECT_EQ(dib.request.blockSize, 40 + 30 * 120);
  EXPECT_EQ(watch.requests()[0].bytes, static_cast<SIZE_T>(dib.request.blockSize));
}

const char* g_version = nullptr;
void* g_errorPointer = nullptr;
picture::PngStructHooks::MessageHandler g_errorHandler = nullptr;
picture::PngStructHooks::MessageHandler g_warningHandler = nullptr;

png_struct_def* recordReadStruct(const char* version, void* errorPointer,
                                 picture::PngStructHooks::MessageHandler error,
                                 picture::PngStructHooks::MessageHandler warning) {
  g_version = version;
  g_errorPointer = errorPointer;
  g_errorHandler = error;
  g_warningHandler = warning;
  return png_create_read_struct(version, errorPointer, error, warning);
}

TEST_F(PngDibFailureTest, ReadStructureGetsTheBuiltLibpngVersionAndTheLoadersHandlers) {
  picture::PngStructHooks hooks;
  hooks.createReadStruct = recordReadStruct;
  picture::setPngStructHooks(&hooks);
  const LoadedDib dib(writeGood("good.dat"));
  EXPECT_EQ(dib.result, pngDibOk);
  ASSERT_NE(g_version, nullptr);
  EXPECT_STREQ(g_version, PNG_LIBPNG_VER_STRING);
  EXPECT_NE(g_errorPointer, nullptr);
  EXPECT_EQ(g_errorHandler, &pngErrorHandler);
  EXPECT_EQ(g_warningHandler, &pngWarningHandler);
}

}  // namespace
