// PNG files put together byte by byte, for the hand-made valid and damaged pictures of the
// loader's tests, benchmarks and fuzz seeds: big-endian numbers, whole chunks with their CRC,
// deflated image data, and pictures of any declared size whose pixels are all zero, among them the
// crafted pictures that once cost gigabytes. Header-only; needs zlib.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace png_bytes {

using Bytes = std::vector<std::uint8_t>;

inline const Bytes kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

inline void append32(Bytes& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// The data compressed at zlib's best level.
inline Bytes deflated(const Bytes& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9);
  out.resize(size);
  return out;
}

// A whole chunk: its length, type, data and the CRC of type and data.
inline Bytes chunk(const std::string& type, const Bytes& data) {
  Bytes bytes;
  append32(bytes, static_cast<std::uint32_t>(data.size()));
  bytes.insert(bytes.end(), type.begin(), type.end());
  bytes.insert(bytes.end(), data.begin(), data.end());
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type.data()), 4);
  // zlib answers a null buffer with its initial value, so an empty chunk's data is left out.
  if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
  append32(bytes, static_cast<std::uint32_t>(crc));
  return bytes;
}

// The header chunk of a picture: its size, bit depth and colour type, no interlacing or Adam7.
inline Bytes headerChunk(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType,
                         bool interlaced = false) {
  Bytes data;
  append32(data, width);
  append32(data, height);
  data.insert(data.end(), {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colorType), 0, 0,
                           static_cast<std::uint8_t>(interlaced ? 1 : 0)});
  return chunk("IHDR", data);
}

// A zlib stream of `count` zero bytes, as deflate's best level writes it, made in milliseconds
// however long: one megabyte is compressed and flushed so that the compressor starts afresh, and
// its bytes then stand for every further megabyte. The checksum is that of all the zeros.
inline Bytes deflatedZeros(std::uint64_t count) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  const Bytes zeros(kPiece, 0);
  z_stream stream{};
  deflateInit(&stream, Z_BEST_COMPRESSION);
  const auto compress = [&stream, &zeros](std::size_t size, int flush) {
    Bytes out;
    std::uint8_t buffer[1 << 14];
    stream.next_in = const_cast<Bytef*>(zeros.data());
    stream.avail_in = static_cast<uInt>(size);
    int result = Z_OK;
    do {
      stream.next_out = buffer;
      stream.avail_out = sizeof buffer;
      result = deflate(&stream, flush);
      out.insert(out.end(), buffer, buffer + (sizeof buffer - stream.avail_out));
    } while (stream.avail_out == 0 || (flush == Z_FINISH && result == Z_OK));
    return out;
  };
  Bytes out;
  Bytes repeated;  // one flushed megabyte after the first, which also carries the stream's header
  for (std::uint64_t left = count; left >= kPiece; left -= kPiece) {
    if (out.empty()) {
      out = compress(kPiece, Z_FULL_FLUSH);
    } else {
      if (repeated.empty()) repeated = compress(kPiece, Z_FULL_FLUSH);
      out.insert(out.end(), repeated.begin(), repeated.end());
    }
  }
  const Bytes tail = compress(static_cast<std::size_t>(count % kPiece), Z_FINISH);
  deflateEnd(&stream);
  out.insert(out.end(), tail.begin(), tail.end());
  // Adler-32 of zeros: the byte sum stays 1, the running sum gains 1 a byte.
  const auto adler = static_cast<std::uint32_t>(((count % 65521) << 16) | 1);
  for (int i = 0; i < 4; ++i) out[out.size() - 4 + i] = static_cast<std::uint8_t>(adler >> (24 - 8 * i));
  return out;
}

// Samples per pixel of a PNG colour type.
inline int samplesPerPixel(int colorType) {
  return colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
}

// A whole, valid PNG file of the given format whose pixels are all zero (black, or palette entry
// 0 of a black palette of `paletteSize` entries), its image data in IDAT chunks of at most a
// megabyte. Not interlaced.
inline Bytes zeroPicture(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth,
                         int paletteSize = 0) {
  Bytes file = kSignature;
  const auto add = [&file](const Bytes& bytes) { file.insert(file.end(), bytes.begin(), bytes.end()); };
  add(headerChunk(width, height, bitDepth, colorType));
  if (colorType == 3) add(chunk("PLTE", Bytes(3 * static_cast<std::size_t>(paletteSize), 0)));
  const std::uint64_t rowBytes = 1 + (std::uint64_t{width} * samplesPerPixel(colorType) * bitDepth + 7) / 8;
  const Bytes data = deflatedZeros(rowBytes * height);
  constexpr std::size_t kLargestChunk = std::size_t{1} << 20;
  for (std::size_t at = 0; at < data.size(); at += kLargestChunk) {
    const std::size_t end = std::min(data.size(), at + kLargestChunk);
    add(chunk("IDAT", Bytes(data.begin() + static_cast<std::ptrdiff_t>(at),
                            data.begin() + static_cast<std::ptrdiff_t>(end))));
  }
  add(chunk("IEND", {}));
  return file;
}

// The crafted pictures that once made one view take seconds and gigabytes: small files whose
// compressed zeros fill every pixel of a huge declared size.
struct HostilePicture {
  const char* label;
  std::uint32_t width;
  std::uint32_t height;
  int colorType;
  int bitDepth;
  int paletteSize;

  Bytes bytes() const { return zeroPicture(width, height, colorType, bitDepth, paletteSize); }
};

inline const HostilePicture kHostilePictures[] = {
    {"1-bit grey, 16384 x 16384 (33 kB)", 16384, 16384, 0, 1, 0},
    {"8-bit palette, 16000 x 16000 (250 kB)", 16000, 16000, 3, 8, 256},
    {"RGB, 26000 x 26000 (2 MB)", 26000, 26000, 2, 8, 0},
};

}  // namespace png_bytes
