#include "picture/support/PngFiles.h"

#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

int PngPicture::channels() const {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

unsigned PngPicture::sample(std::uint32_t x, std::uint32_t y, int channel) const {
  const std::vector<std::uint8_t>& row = rows.at(y);
  const std::size_t index = std::size_t{x} * channels() + channel;
  if (bitDepth == 16) return (unsigned{row.at(index * 2)} << 8) | row.at(index * 2 + 1);
  if (bitDepth == 8) return row.at(index);
  const std::size_t bit = index * bitDepth;
  const unsigned shift = 8 - bitDepth - bit % 8;
  return (row.at(bit / 8) >> shift) & ((1u << bitDepth) - 1);
}

namespace {

void putSample(std::vector<std::uint8_t>& row, std::size_t index, int bitDepth, unsigned value) {
  if (bitDepth == 16) {
    row[index * 2] = static_cast<std::uint8_t>(value >> 8);
    row[index * 2 + 1] = static_cast<std::uint8_t>(value);
  } else if (bitDepth == 8) {
    row[index] = static_cast<std::uint8_t>(value);
  } else {
    const std::size_t bit = index * bitDepth;
    const unsigned shift = 8 - bitDepth - bit % 8;
    row[bit / 8] |= static_cast<std::uint8_t>(value << shift);
  }
}

// The libpng part of writePng, kept apart so that nothing with a destructor lives in the frame that
// libpng's error handling jumps back into.
bool writeWithLibpng(std::FILE* file, const PngPicture& picture, png_bytep* rows, const png_color* palette) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (palette != nullptr) png_set_PLTE(png, info, palette, static_cast<int>(picture.palette.size()));
  if (picture.hasPhys) png_set_pHYs(png, info, picture.physX, picture.physY, picture.physUnit);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

PngPicture patternPicture(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth,
                          int paletteSize) {
  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.colorType = colorType;
  picture.bitDepth = bitDepth;
  for (int i = 0; i < paletteSize; ++i) {
    picture.palette.push_back(PaletteColour{static_cast<std::uint8_t>(i * 40 + 10),
                                            static_cast<std::uint8_t>(255 - i * 30),
                                            static_cast<std::uint8_t>(i * 7 + 100)});
  }
  const int channels = picture.channels();
  const std::size_t rowBytes = (std::size_t{width} * channels * bitDepth + 7) / 8;
  const unsigned mask = bitDepth == 16 ? 0xFFFF : (1u << bitDepth) - 1;
  for (std::uint32_t y = 0; y < height; ++y) {
    std::vector<std::uint8_t> row(rowBytes, 0);
    for (std::uint32_t x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        unsigned value = x * 7 + y * 13 + c * 29 + x * y * 3;
        if (bitDepth == 16) value = value * 257 + c * 1000 + x;
        if (colorType == PNG_COLOR_TYPE_PALETTE) value = (x + 2 * y) % paletteSize;
        putSample(row, std::size_t{x} * channels + c, bitDepth, value & mask);
      }
    }
    picture.rows.push_back(std::move(row));
  }
  return picture;
}

void writePng(const std::string& path, const PngPicture& picture) {
  std::vector<png_bytep> rows;
  std::vector<std::vector<std::uint8_t>> copies = picture.rows;
  for (auto& row : copies) rows.push_back(row.data());
  std::vector<png_color> palette;
  for (const PaletteColour& colour : picture.palette)
    palette.push_back({colour.red, colour.green, colour.blue});

  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << "cannot create " << path;
  const bool written =
      writeWithLibpng(file, picture, rows.data(), palette.empty() ? nullptr : palette.data());
  std::fclose(file);
  EXPECT_TRUE(written) << "libpng refused to write " << path;
}

namespace {

// The libpng part of readPng, apart for the same reason as writeWithLibpng.
bool readWithLibpng(std::FILE* file, PngPicture& picture) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  int interlace = 0;
  png_get_IHDR(png, info, &picture.width, &picture.height, &picture.bitDepth, &picture.colorType, &interlace,
               nullptr, nullptr);
  picture.interlaced = interlace != PNG_INTERLACE_NONE;
  png_colorp palette = nullptr;
  int colours = 0;
  if (png_get_PLTE(png, info, &palette, &colours) != 0) {
    for (int i = 0; i < colours; ++i)
      picture.palette.push_back({palette[i].red, palette[i].green, palette[i].blue});
  }
  if (png_get_valid(png, info, PNG_INFO_pHYs) != 0) {
    picture.hasPhys = true;
    png_get_pHYs(png, info, &picture.physX, &picture.physY, &picture.physUnit);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  picture.rows.assign(picture.height, std::vector<std::uint8_t>(png_get_rowbytes(png, info)));
  std::vector<png_bytep> rows;
  for (auto& row : picture.rows) rows.push_back(row.data());
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

ReadPicture readPng(const std::string& path) {
  ReadPicture read;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    ADD_FAILURE() << "cannot open " << path;
    return read;
  }
  read.ok = readWithLibpng(file, read.picture);
  std::fclose(file);
  EXPECT_TRUE(read.ok) << "libpng refused to read " << path;
  return read;
}

std::vector<std::uint8_t> expectedBlockRow(const PngPicture& picture, std::uint32_t y, std::uint32_t stride) {
  std::vector<std::uint8_t> row;
  if (picture.bitDepth < 8) {
    row = picture.rows.at(y);
  } else {
    const bool colour =
        picture.colorType == PNG_COLOR_TYPE_RGB || picture.colorType == PNG_COLOR_TYPE_RGB_ALPHA;
    const std::vector<int> channels = colour ? std::vector<int>{2, 1, 0} : std::vector<int>{0};
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      for (int c : channels) {
        row.push_back(static_cast<std::uint8_t>(picture.sample(x, y, c) >> (picture.bitDepth - 8)));
      }
    }
  }
  row.resize(stride, 0);
  return row;
}

namespace {

void putLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> expectedBlock(const PngPicture& picture) {
  const bool colour =
      picture.colorType == PNG_COLOR_TYPE_RGB || picture.colorType == PNG_COLOR_TYPE_RGB_ALPHA;
  const std::uint32_t bitCount = colour ? 24 : std::min(picture.bitDepth, 8);
  std::vector<std::uint8_t> table;
  if (picture.colorType == PNG_COLOR_TYPE_PALETTE) {
    for (const PaletteColour& c : picture.palette) table.insert(table.end(), {c.blue, c.green, c.red, 0});
  } else if (!colour) {
    const std::uint32_t colours = 1u << bitCount;
    for (std::uint32_t i = 0; i < colours; ++i) {
      const auto v = static_cast<std::uint8_t>(i * 255 / (colours - 1));
      table.insert(table.end(), {v, v, v, 0});
    }
  }
  const std::uint32_t stride = ((picture.width * bitCount + 31) >> 5) << 2;
  std::vector<std::uint8_t> block(40);
  putLittleEndian(block, 0, 40, 4);
  putLittleEndian(block, 4, picture.width, 4);
  putLittleEndian(block, 8, picture.height, 4);
  putLittleEndian(block, 12, 1, 2);
  putLittleEndian(block, 14, bitCount, 2);
  putLittleEndian(block, 20, picture.height * stride, 4);
  if (picture.hasPhys && picture.physUnit == PNG_RESOLUTION_METER) {
    putLittleEndian(block, 24, picture.physX, 4);
    putLittleEndian(block, 28, picture.physY, 4);
  }
  putLittleEndian(block, 32, static_cast<std::uint32_t>(table.size() / 4), 4);
  block.insert(block.end(), table.begin(), table.end());
  for (std::uint32_t k = 0; k < picture.height; ++k) {
    const std::vector<std::uint8_t> row = expectedBlockRow(picture, picture.height - 1 - k, stride);
    block.insert(block.end(), row.begin(), row.end());
  }
  return block;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << "cannot write " << path;
}

namespace {

std::uint32_t bigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return (std::uint32_t{bytes.at(at)} << 24) | (std::uint32_t{bytes.at(at + 1)} << 16) |
         (std::uint32_t{bytes.at(at + 2)} << 8) | bytes.at(at + 3);
}

constexpr std::size_t kSignatureSize = 8;

}  // namespace

void putBigEndian32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

std::vector<PngChunk> splitPng(const std::vector<std::uint8_t>& file) {
  std::vector<PngChunk> chunks;
  std::size_t at = kSignatureSize;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = bigEndian32(file, at);
    PngChunk chunk;
    chunk.type.assign(file.begin() + at + 4, file.begin() + at + 8);
    chunk.data.assign(file.begin() + at + 8, file.begin() + at + 8 + length);
    chunk.crc = bigEndian32(file, at + 8 + length);
    chunks.push_back(std::move(chunk));
    at += 12 + length;
  }
  EXPECT_EQ(at, file.size()) << "fixture is not a sequence of whole chunks";
  return chunks;
}

std::uint32_t chunkCrc(const PngChunk& chunk) {
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk.type.data()), 4);
  // zlib takes a null buffer as a request for the initial value, and an empty vector may have one.
  if (!chunk.data.empty()) crc = crc32(crc, chunk.data.data(), static_cast<uInt>(chunk.data.size()));
  return static_cast<std::uint32_t>(crc);
}

std::vector<std::uint8_t> joinPng(const std::vector<PngChunk>& chunks, bool fixCrcs) {
  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const PngChunk& chunk : chunks) {
    const std::size_t at = file.size();
    file.resize(at + 12 + chunk.data.size());
    putBigEndian32(file, at, static_cast<std::uint32_t>(chunk.data.size()));
    std::copy(chunk.type.begin(), chunk.type.end(), file.begin() + at + 4);
    std::copy(chunk.data.begin(), chunk.data.end(), file.begin() + at + 8);
    putBigEndian32(file, at + 8 + chunk.data.size(), fixCrcs ? chunkCrc(chunk) : chunk.crc);
  }
  return file;
}

int openFileCount() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

namespace {

std::vector<GlobalAllocWatch::Request> g_requests;
bool g_refusing = false;
UINT g_refusedFlags = 0;

bool watchGlobalAlloc(UINT flags, SIZE_T bytes) {
  g_requests.push_back({flags, bytes});
  return !(g_refusing && flags == g_refusedFlags);
}

}  // namespace

GlobalAllocWatch::GlobalAllocWatch() {
  g_requests.clear();
  g_refusing = false;
  platform::setGlobalAllocHook(watchGlobalAlloc);
}

GlobalAllocWatch::~GlobalAllocWatch() {
  platform::setGlobalAllocHook(nullptr);
  g_refusing = false;
}

void GlobalAllocWatch::refuse(UINT flags) {
  g_refusing = true;
  g_refusedFlags = flags;
}

const std::vector<GlobalAllocWatch::Request>& GlobalAllocWatch::requests() const { return g_requests; }

int GlobalAllocWatch::count(UINT flags) const {
  int n = 0;
  for (const Request& request : g_requests) n += request.flags == flags ? 1 : 0;
  return n;
}

LoadedDib::LoadedDib(const std::string& path) {
  request.size = sizeof request;
  request.path = path.c_str();
  result = loadPngDib(&request);
  request.path = nullptr;
}

LoadedDib::~LoadedDib() {
  if (result == pngDibOk) GlobalFree(request.block);
}

std::vector<std::uint8_t> LoadedDib::row(std::uint32_t blockRow, std::uint32_t stride) const {
  const std::uint8_t* start = request.bits + std::size_t{blockRow} * stride;
  return std::vector<std::uint8_t>(start, start + stride);
}

std::vector<std::uint8_t> LoadedDib::bytes() const {
  const auto* start = reinterpret_cast<const std::uint8_t*>(request.block);
  return std::vector<std::uint8_t>(start, start + request.blockSize);
}
