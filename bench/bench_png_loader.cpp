// How much loadPngDib costs beyond libpng's own decoding: each picture is decoded by the loader and,
// in the same run, by a plain libpng read with the same transformations into a buffer allocated once
// beforehand. The loader should stay within 5% of the plain read; the ratio of the two is printed per
// picture at the end. The pictures are written into a temporary folder at start.

#include <benchmark/benchmark.h>
#include <png.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "picture/PngDib.h"

namespace {

struct BenchPicture {
  const char* name;
  std::uint32_t width;
  std::uint32_t height;
  int colorType;
  int bitDepth;
  std::string path;
};

// A part drawing: a light background, soft shading and dark outlines, so that the file compresses
// about as well as the catalogue's pictures do.
unsigned drawingSample(std::uint32_t x, std::uint32_t y, int channel, std::uint32_t& noise) {
  noise = noise * 1103515245u + 12345u;
  const bool outline = (x + 2 * y) % 37 < 2 || (x * x + y * y) % 1013 < 12;
  if (outline) return 20 + channel * 5;
  return 200 + (x / 8 + y / 6 + channel * 9) % 40 + ((noise >> 16) & 3);
}

bool writeRows(std::FILE* file, const BenchPicture& picture, png_bytep* rows, const png_color* palette,
               int paletteSize) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  // setjmp stands alone in its condition: inside a larger expression its result is undefined.
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (palette != nullptr) png_set_PLTE(png, info, palette, paletteSize);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool writePicture(const BenchPicture& picture) {
  const bool rgb = picture.colorType == PNG_COLOR_TYPE_RGB;
  const int channels = rgb ? 3 : 1;
  const std::size_t rowBytes = (std::size_t{picture.width} * channels * picture.bitDepth + 7) / 8;
  std::vector<std::vector<png_byte>> data(picture.height, std::vector<png_byte>(rowBytes, 0));
  std::vector<png_bytep> rows;
  std::uint32_t noise = 1;
  const int paletteSize = 1 << picture.bitDepth;
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      for (int c = 0; c < channels; ++c) {
        const unsigned value = drawingSample(x, y, c, noise);
        if (rgb) {
          data[y][x * 3 + c] = static_cast<png_byte>(value);
        } else {
          const unsigned index = value * paletteSize / 256;
          const std::size_t bit = std::size_t{x} * picture.bitDepth;
          data[y][bit / 8] |= static_cast<png_byte>(index << (8 - picture.bitDepth - bit % 8));
        }
      }
    }
    rows.push_back(data[y].data());
  }
  std::vector<png_color> palette;
  for (int i = 0; i < paletteSize; ++i) {
    const auto v = static_cast<png_byte>(i * 255 / (paletteSize - 1));
    palette.push_back({v, static_cast<png_byte>(v / 2 + 64), static_cast<png_byte>(255 - v)});
  }
  std::FILE* file = std::fopen(picture.path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = writeRows(file, picture, rows.data(), rgb ? nullptr : palette.data(), paletteSize);
  return std::fclose(file) == 0 && written;
}

void benchLoader(benchmark::State& state, const BenchPicture* picture) {
  for (auto _ : state) {
    PngDibRequest request;
    request.size = sizeof request;
    request.path = picture->path.c_str();
    if (loadPngDib(&request) != pngDibOk) {
      state.SkipWithError("loadPngDib failed");
      break;
    }
    benchmark::DoNotOptimize(request.bits);
    GlobalFree(request.block);
  }
}

// libpng alone, asked for the same transformations as the loader, decoding into `rows`.
bool plainDecode(const char* path, png_bytep* rows) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    std::fclose(file);
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  const int colorType = png_get_color_type(png, info);
  if (colorType == PNG_COLOR_TYPE_RGB || colorType == PNG_COLOR_TYPE_RGB_ALPHA) png_set_bgr(png);
  png_set_strip_alpha(png);
  png_set_strip_16(png);
  png_read_image(png, rows);
  png_read_end(png, info);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return true;
}

void benchPlainLibpng(benchmark::State& state, const BenchPicture* picture) {
  const int bits = picture->colorType == PNG_COLOR_TYPE_RGB ? 24 : picture->bitDepth;
  const std::size_t stride = ((std::size_t{picture->width} * bits + 31) >> 5) << 2;
  std::vector<png_byte> buffer(stride * picture->height);
  std::vector<png_bytep> rows;
  for (std::uint32_t k = 0; k < picture->height; ++k) {
    rows.push_back(buffer.data() + (picture->height - 1 - k) * stride);
  }
  for (auto _ : state) {
    if (!plainDecode(picture->path.c_str(), rows.data())) {
      state.SkipWithError("plain libpng decode failed");
      break;
    }
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
}

// Prints as the console reporter does and keeps each run's time per iteration, to set the loader
// beside the plain decode at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& reports) override {
    for (const Run& run : reports) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times_[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
      }
    }
    ConsoleReporter::ReportRuns(reports);
  }

  // Median time per iteration of the named benchmark, 0 when it did not run.
  double median(const std::string& name) const {
    const auto found = times_.find(name);
    if (found == times_.end() || found->second.empty()) return 0;
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }

 private:
  std::map<std::string, std::vector<double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);

  std::string pattern = (std::filesystem::temp_directory_path() / "catalog_bench_png.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "cannot create a temporary folder\n");
    return 0;
  }
  const std::filesystem::path folder = pattern;

  BenchPicture pictures[] = {
      {"rgb_700x204", 700, 204, PNG_COLOR_TYPE_RGB, 8, ""},
      {"palette4_120x40", 120, 40, PNG_COLOR_TYPE_PALETTE, 4, ""},
  };
  for (BenchPicture& picture : pictures) {
    picture.path = (folder / (std::string(picture.name) + ".dat")).string();
    if (!writePicture(picture)) {
      std::fprintf(stderr, "cannot write %s\n", picture.path.c_str());
      std::filesystem::remove_all(folder);
      return 0;
    }
    const std::string suffix = std::string("/") + picture.name;
    benchmark::RegisterBenchmark(("loadPngDib" + suffix).c_str(), benchLoader, &picture)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("plainLibpng" + suffix).c_str(), benchPlainLibpng, &picture)
        ->Unit(benchmark::kMicrosecond);
  }

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nloader / plain libpng decode (target: at most 1.05)\n");
  for (const BenchPicture& picture : pictures) {
    const std::string suffix = std::string("/") + picture.name;
    const double loader = reporter.median("loadPngDib" + suffix);
    const double plain = reporter.median("plainLibpng" + suffix);
    if (loader > 0 && plain > 0) {
      std::printf("  %-18s %.3f (%.1f us against %.1f us)\n", picture.name, loader / plain, loader, plain);
    } else {
      std::printf("  %-18s not measured\n", picture.name);
    }
  }
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
