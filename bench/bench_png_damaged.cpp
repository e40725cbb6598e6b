// What a failing loadPngDib costs on damaged files that declare far more than they hold: chunks of
// 2 GiB in files of a few dozen bytes or of a few megabytes, a million rows in a tiny file, and a
// valid picture whose compressed text inflates to 7 MB. Each is timed per call; the counters give
// the most that libpng held at once and the bytes that the loader asked GlobalAlloc for, in one
// call. The files are written into a temporary folder at start.

#include <benchmark/benchmark.h>
#include <png.h>
#include <stdlib.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/PngBytes.h"
#include "picture/PngDib.h"

namespace {

using png_bytes::append32;
using png_bytes::Bytes;
using png_bytes::chunk;
using png_bytes::deflated;

Bytes header(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth) {
  Bytes file = png_bytes::kSignature;
  Bytes ihdr;
  append32(ihdr, width);
  append32(ihdr, height);
  ihdr.insert(ihdr.end(), {bitDepth, 0, 0, 0, 0});
  const Bytes c = chunk("IHDR", ihdr);
  file.insert(file.end(), c.begin(), c.end());
  return file;
}

// A 1x1 grey picture's header followed by the header of a chunk that declares 2 GiB - 1 bytes and
// `fill` bytes of its data.
Bytes declaring2GiB(const std::string& type, std::size_t fill) {
  Bytes file = header(1, 1, 8);
  append32(file, 0x7FFFFFFF);
  file.insert(file.end(), type.begin(), type.end());
  file.resize(file.size() + fill, 'x');
  return file;
}

Bytes millionRows() {
  Bytes file = header(1, 1000000, 1);
  for (const Bytes& c : {chunk("IDAT", deflated(Bytes(2, 0))), chunk("IEND", {})}) {
    file.insert(file.end(), c.begin(), c.end());
  }
  return file;
}

Bytes textBomb() {
  Bytes text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
  const Bytes compressed = deflated(Bytes(7000000, 'x'));
  text.insert(text.end(), compressed.begin(), compressed.end());
  Bytes file = header(2, 2, 8);
  for (const Bytes& c : {chunk("zTXt", text), chunk("IDAT", deflated(Bytes(6, 0))), chunk("IEND", {})}) {
    file.insert(file.end(), c.begin(), c.end());
  }
  return file;
}

struct DamagedFile {
  const char* name;
  Bytes bytes;
  std::string path;
};

std::size_t g_libpngHeld = 0;
std::size_t g_libpngPeak = 0;
std::size_t g_globalBytes = 0;
constexpr std::size_t kPrefix = alignof(std::max_align_t);

png_voidp countingMalloc(png_structp, png_alloc_size_t bytes) {
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<std::size_t*>(block) = bytes;
  g_libpngHeld += bytes;
  g_libpngPeak = std::max(g_libpngPeak, g_libpngHeld);
  return block + kPrefix;
}

void countingFree(png_structp, png_voidp pointer) {
  if (pointer == nullptr) return;
  auto* block = static_cast<unsigned char*>(pointer) - kPrefix;
  g_libpngHeld -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

png_struct_def* countedReadStruct(const char* version, void* errorPointer,
                                  picture::PngStructHooks::MessageHandler error,
                                  picture::PngStructHooks::MessageHandler warning) {
  return png_create_read_struct_2(version, errorPointer, error, warning, nullptr, countingMalloc,
                                  countingFree);
}

bool countGlobalAlloc(UINT, SIZE_T bytes) {
  g_globalBytes += bytes;
  return true;
}

PngDibResult load(const DamagedFile& file) {
  PngDibRequest request;
  request.size = sizeof request;
  request.path = file.path.c_str();
  const PngDibResult result = loadPngDib(&request);
  if (result == pngDibOk) GlobalFree(request.block);
  return result;
}

void benchDamaged(benchmark::State& state, const DamagedFile* file) {
  for (auto _ : state) benchmark::DoNotOptimize(load(*file));

  // One more call, counted, outside the timing.
  picture::PngStructHooks hooks;
  hooks.createReadStruct = countedReadStruct;
  picture::setPngStructHooks(&hooks);
  platform::setGlobalAllocHook(countGlobalAlloc);
  g_libpngPeak = g_libpngHeld = g_globalBytes = 0;
  const PngDibResult result = load(*file);
  platform::setGlobalAllocHook(nullptr);
  picture::setPngStructHooks(nullptr);
  state.counters["file_bytes"] = static_cast<double>(file->bytes.size());
  state.counters["libpng_peak"] = static_cast<double>(g_libpngPeak);
  state.counters["global_alloc"] = static_cast<double>(g_globalBytes);
  state.counters["result"] = result;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);

  std::string pattern = (std::filesystem::temp_directory_path() / "catalog_bench_damaged.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "cannot create a temporary folder\n");
    return 0;
  }
  const std::filesystem::path folder = pattern;

  std::vector<DamagedFile> files = {
      {"text_2GiB_41_bytes", declaring2GiB("tEXt", 0), ""},
      {"ztxt_2GiB_41_bytes", declaring2GiB("zTXt", 0), ""},
      {"itxt_2GiB_41_bytes", declaring2GiB("iTXt", 0), ""},
      {"splt_2GiB_41_bytes", declaring2GiB("sPLT", 0), ""},
      {"iccp_2GiB_41_bytes", declaring2GiB("iCCP", 0), ""},
      {"private_2GiB_41_bytes", declaring2GiB("vpAg", 0), ""},
      {"idat_2GiB_41_bytes", declaring2GiB("IDAT", 0), ""},
      {"text_2GiB_3_MB", declaring2GiB("tEXt", 3000000), ""},
      {"million_rows_67_bytes", millionRows(), ""},
      {"valid_7MB_text_in_7KB", textBomb(), ""},
  };
  for (DamagedFile& file : files) {
    file.path = (folder / (std::string(file.name) + ".dat")).string();
    std::ofstream out(file.path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    benchmark::RegisterBenchmark((std::string("loadPngDib/") + file.name).c_str(), benchDamaged, &file)
        ->Unit(benchmark::kMicrosecond);
  }

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
