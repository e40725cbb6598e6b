// PNG files put together byte by byte, for the hand-made valid and damaged pictures of the
// loader's tests, benchmarks and fuzz seeds: big-endian numbers, whole chunks with their CRC, and
// deflated image data. Header-only; needs zlib.
#pragma once

#include <zlib.h>

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

}  // namespace png_bytes
