// Fuzz target for the PNG loader. Each input is written to a file (the loader opens a path) and
// loaded twice: as it is, and with the CRC of every whole chunk made right, so that mutations get
// past libpng's CRC checks into the chunk and image decoding. Beyond the sanitizers it checks that
// a decoded block is laid out as its header says and that no GlobalAlloc request exceeds what the
// file's size allows.
//
// The release configuration builds the fuzzer proper with clang's libFuzzer when clang++ is
// installed. To fuzz for twenty minutes, from the source folder (new inputs go to the first folder):
//
//   mkdir -p build/release/fuzz/png_dib_corpus
//   build/release/fuzz/libfuzzer/png_dib_fuzzer -dict=fuzz/png.dict -max_len=4096 -rss_limit_mb=512
//       -malloc_limit_mb=64 -timeout=2 -use_value_profile=1 -max_total_time=1200
//       -artifact_prefix=build/release/fuzz/
//       build/release/fuzz/png_dib_corpus build/release/fuzz/png_dib_seeds
//
// -malloc_limit_mb and -timeout report a decode that allocates or takes too much as a crash; each
// failing input is kept as build/release/fuzz/crash-*, oom-* or timeout-*. Every build replays the
// seeds through this same function as the test fuzz_png_dib_seeds.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "picture/PngDib.h"
#include "platform/Win32Memory.h"

namespace {

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "loader check failed: %s\n", what);
  std::abort();
}

// Every image row takes at least two bytes of inflated image data (a filter byte and a pixel) and
// the image data holds every pixel, so the block (rows padded by at most 3 bytes) and the row table
// (8 bytes a row) each stay within four times the image data, plus a header and a colour table of
// at most 256 entries. Deflate inflates at most 1032 bytes per byte of the file. And no block is
// larger than that of the largest picture: 3 bytes a pixel and at most 3 bytes of padding a row.
std::uint64_t g_fileSize = 0;
volatile std::uint8_t g_blockSum = 0;

constexpr std::uint64_t kLargestBlock =
    40 + 1024 + 3 * picture::kLargestPicturePixels + 3 * picture::kLargestPictureSide;

bool checkGlobalAlloc(UINT /*flags*/, SIZE_T bytes) {
  require(bytes <= 40 + 1024 + 4 * 1032 * g_fileSize, "a GlobalAlloc request beyond what the file can hold");
  require(bytes <= kLargestBlock, "a GlobalAlloc request beyond the largest picture");
  return true;
}

// A private folder for the input file, made once and removed at exit.
const std::string& inputPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/png_dib_fuzz.XXXXXX";
    require(mkdtemp(pattern.data()) != nullptr, "cannot create a temporary folder");
    static std::string folder = pattern;
    std::atexit([] {
      std::remove((folder + "/input.dat").c_str());
      rmdir(folder.c_str());
    });
    platform::setGlobalAllocHook(checkGlobalAlloc);
    return pattern + "/input.dat";
  }();
  return path;
}

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
         bytes[3];
}

// PNG's CRC-32 (the zlib polynomial), table-free: inputs are small.
std::uint32_t crc32Of(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// The input with every chunk that lies wholly inside it given the CRC of its type and data.
std::vector<std::uint8_t> withCrcsMadeRight(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  std::size_t at = 8;
  while (at + 12 <= bytes.size()) {
    const std::uint32_t length = bigEndian32(&bytes[at]);
    if (length > bytes.size() - at - 12) break;
    const std::uint32_t crc = crc32Of(&bytes[at + 4], std::size_t{length} + 4);
    for (int i = 0; i < 4; ++i) bytes[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    at += std::size_t{length} + 12;
  }
  return bytes;
}

void checkBlock(const PngDibRequest& request) {
  const BITMAPINFOHEADER& header = *request.block;
  require(header.biSize == 40 && header.biPlanes == 1 && header.biCompression == BI_RGB &&
              header.biClrImportant == 0,
          "fixed header fields");
  require(header.biWidth > 0 && header.biHeight > 0, "positive dimensions");
  const std::uint32_t bits = header.biBitCount;
  require(bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 24, "bit count");
  const auto colours = static_cast<std::uint32_t>(request.paletteCount);
  require(bits == 24 ? colours == 0 : colours >= 1 && colours <= 256, "colour count");
  require(header.biClrUsed == colours, "biClrUsed is the colour count");

  const std::uint64_t width = static_cast<std::uint32_t>(header.biWidth);
  const std::uint64_t height = static_cast<std::uint32_t>(header.biHeight);
  const std::uint64_t stride = ((width * bits + 31) >> 5) << 2;
  require(header.biSizeImage == height * stride, "biSizeImage is height times stride");
  require(request.paletteOffset == 40 && request.bitsOffset == static_cast<std::int32_t>(40 + 4 * colours),
          "offsets");
  require(static_cast<std::uint64_t>(request.blockSize) == request.bitsOffset + height * stride,
          "block size");
  const auto* base = reinterpret_cast<const std::uint8_t*>(request.block);
  require(reinterpret_cast<const std::uint8_t*>(request.palette) == base + 40 &&
              request.bits == base + request.bitsOffset,
          "pointers into the block");

  // Every pad byte after a row's pixels stays 0.
  const std::uint64_t used = (width * bits + 7) / 8;
  for (std::uint64_t row = 0; row < height; ++row) {
    for (std::uint64_t at = used; at < stride; ++at)
      require(request.bits[row * stride + at] == 0, "pad bytes");
  }
  // Reading the whole block lets AddressSanitizer see that it is as large as it claims.
  std::uint8_t sum = 0;
  for (std::int32_t at = 0; at < request.blockSize; ++at) sum = static_cast<std::uint8_t>(sum + base[at]);
  g_blockSum = sum;
}

void load(const std::uint8_t* data, std::size_t size) {
  const std::string& path = inputPath();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  require(file != nullptr, "cannot write the input file");
  require(size == 0 || std::fwrite(data, 1, size, file) == size, "cannot write the input file");
  require(std::fclose(file) == 0, "cannot write the input file");
  g_fileSize = size;

  PngDibRequest request;
  request.size = sizeof request;
  request.path = path.c_str();
  const PngDibResult result = loadPngDib(&request);
  require(result == pngDibOk || result == pngDibNoMemory || result == pngDibDecodeError ||
              result == pngDibUnsupportedColorType,
          "result code");
  if (result != pngDibOk) return;
  checkBlock(request);
  GlobalFree(request.block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  load(data, size);
  const std::vector<std::uint8_t> repaired = withCrcsMadeRight(data, size);
  if (repaired != std::vector<std::uint8_t>(data, data + size)) load(repaired.data(), repaired.size());
  return 0;
}
