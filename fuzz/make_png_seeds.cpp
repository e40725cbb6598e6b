// Writes the seed corpus of the loader's fuzz target into one folder: small valid PNG files of every
// colour type and bit depth (interlaced, with ancillary chunks, with the image data split), and
// damaged ones of every kind the loader has met: cut off, bad CRCs, bad header values, chunks that
// declare 2 GiB, dimensions that the data cannot fill, text that inflates to megabytes, pictures
// larger than any the loader takes, chunks before the header, image data going on past the rows.
//   make_png_seeds <folder>    (the folder is emptied first)

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/PngBytes.h"

namespace {

using png_bytes::append32;
using png_bytes::Bytes;
using png_bytes::chunk;
using png_bytes::deflated;
using png_bytes::deflatedZeros;
using png_bytes::kSignature;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The header of a chunk that declares `length` bytes, with nothing after it.
Bytes declaredChunk(const std::string& type, std::uint32_t length) {
  Bytes bytes;
  append32(bytes, length);
  bytes.insert(bytes.end(), type.begin(), type.end());
  return bytes;
}

struct Format {
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  int bitDepth = 8;
  int colorType = 0;
  bool interlaced = false;
};

Bytes ihdr(const Format& f) {
  return png_bytes::headerChunk(f.width, f.height, f.bitDepth, f.colorType, f.interlaced);
}

// Filtered rows of a pattern, each pass of an interlaced picture in turn; palette indices stay
// below `colours`.
Bytes imageData(const Format& f, int colours) {
  struct Pass {
    std::uint32_t x, y, dx, dy;
  };
  const std::vector<Pass> passes =
      f.interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                   : std::vector<Pass>{{0, 0, 1, 1}};
  const int pixelBits = png_bytes::samplesPerPixel(f.colorType) * f.bitDepth;
  Bytes raw;
  unsigned value = 17;
  for (const Pass& p : passes) {
    if (f.width <= p.x || f.height <= p.y) continue;
    const std::uint32_t columns = (f.width - p.x + p.dx - 1) / p.dx;
    const std::uint32_t rows = (f.height - p.y + p.dy - 1) / p.dy;
    const std::size_t rowBytes = (std::size_t{columns} * pixelBits + 7) / 8;
    for (std::uint32_t r = 0; r < rows; ++r) {
      // Every filter type, but palette indices must arrive unfiltered to stay below the colour count.
      raw.push_back(static_cast<std::uint8_t>(f.colorType == 3 ? 0 : r % 5));
      for (std::size_t b = 0; b < rowBytes; ++b) {
        value = value * 1103515245u + 12345u;
        std::uint8_t byte = static_cast<std::uint8_t>(value >> 16);
        if (f.colorType == 3) {
          // Each packed index modulo the colour count.
          std::uint8_t packed = 0;
          for (int shift = 0; shift < 8; shift += f.bitDepth) {
            const unsigned index = ((byte >> shift) & ((1u << f.bitDepth) - 1)) % colours;
            packed = static_cast<std::uint8_t>(packed | (index << shift));
          }
          byte = packed;
        }
        raw.push_back(byte);
      }
    }
  }
  return raw;
}

Bytes palette(int colours) {
  Bytes data;
  for (int i = 0; i < colours; ++i) {
    data.insert(data.end(), {static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i * 11),
                             static_cast<std::uint8_t>(i * 5 + 60)});
  }
  return chunk("PLTE", data);
}

// A whole picture: header, palette for colour type 3, the extra chunks, the image data in
// `idatPieces` chunks, the end.
Bytes picture(const Format& f, int colours = 0, const Bytes& extras = {}, int idatPieces = 1) {
  Bytes file = join({kSignature, ihdr(f)});
  if (f.colorType == 3) file = join({file, palette(colours)});
  file = join({file, extras});
  const Bytes compressed = deflated(imageData(f, colours));
  const std::size_t piece = compressed.size() / idatPieces + 1;
  for (std::size_t at = 0; at < compressed.size(); at += piece) {
    const std::size_t end = std::min(compressed.size(), at + piece);
    file = join({file, chunk("IDAT", Bytes(compressed.begin() + at, compressed.begin() + end))});
  }
  return join({file, chunk("IEND", {})});
}

void write(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_png_seeds <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);

  // Valid pictures.
  write(folder, "grey1.png", picture({9, 3, 1, 0}));
  write(folder, "grey2.png", picture({5, 3, 2, 0}));
  write(folder, "grey4.png", picture({3, 4, 4, 0}));
  write(folder, "grey8.png", picture({4, 4, 8, 0}));
  write(folder, "grey16.png", picture({3, 3, 16, 0}));
  write(folder, "grey_alpha8.png", picture({3, 2, 8, 4}));
  write(folder, "grey_alpha16.png", picture({2, 2, 16, 4}));
  write(folder, "rgb8.png", picture({5, 4, 8, 2}));
  write(folder, "rgb16.png", picture({3, 2, 16, 2}));
  write(folder, "rgba8.png", picture({3, 3, 8, 6}));
  write(folder, "rgba16.png", picture({2, 2, 16, 6}));
  write(folder, "palette1.png", picture({9, 3, 1, 3}, 2));
  write(folder, "palette4.png", picture({7, 5, 4, 3}, 5));
  write(folder, "palette8.png", picture({4, 4, 8, 3}, 20));
  write(folder, "rgb8_interlaced.png", picture({9, 9, 8, 2, true}));
  write(folder, "grey1_interlaced.png", picture({10, 3, 1, 0, true}));
  write(folder, "rgb8_split_image_data.png", picture({16, 8, 8, 2}, 0, {}, 4));
  Bytes phys;
  append32(phys, 2835);
  append32(phys, 2835);
  phys.push_back(1);
  write(folder, "palette2_phys_trns.png",
        picture({5, 5, 2, 3}, 3, join({chunk("tRNS", {0, 128}), chunk("pHYs", phys)})));
  write(
      folder, "rgb8_ancillary.png",
      picture({4, 3, 8, 2}, 0,
              join({chunk("gAMA", {0, 0, 0xB1, 0x8F}),
                    chunk("iCCP", join({text("profile"), {0, 0}, deflated(Bytes(200, 7))})),
                    chunk("tEXt", join({text("Title"), {0}, text("exhaust")})),
                    chunk("zTXt", join({text("Comment"), {0, 0}, deflated(text("silencer"))})),
                    chunk("iTXt",
                          join({text("Author"), {0, 1, 0}, text("de"), {0, 0}, deflated(text("Werkstatt"))})),
                    chunk("sPLT", join({text("suggested"), {0, 8}, Bytes(12, 9)})),
                    chunk("tIME", {0x07, 0xE4, 1, 2, 3, 4, 5}), chunk("vpAg", Bytes(9, 3))})));

  // Damaged files.
  const Bytes good = picture({6, 4, 8, 2});
  write(folder, "empty.png", {});
  write(folder, "not_png.png", text("GIF89a is what this file claims to be."));
  write(folder, "signature_only.png", kSignature);
  write(folder, "cut_in_image_data.png",
        Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() - 30)));
  Bytes badCrc = good;
  badCrc[8 + 8 + 13] ^= 1;  // the header chunk's CRC
  write(folder, "bad_header_crc.png", badCrc);
  const Bytes oneByOne = join({kSignature, ihdr({1, 1, 8, 0})});
  for (const char* type : {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "vpAg", "IDAT", "pHYs"}) {
    write(folder, std::string("declares_2gib_") + type + ".png",
          join({oneByOne, declaredChunk(type, 0x7FFFFFFF)}));
  }
  write(folder, "million_rows.png",
        join({kSignature, ihdr({1, 1000000, 1, 0}), chunk("IDAT", deflated(Bytes(200, 0))),
              chunk("IEND", {})}));
  write(
      folder, "huge_width.png",
      join({kSignature, ihdr({1000000, 2, 8, 6}), chunk("IDAT", deflated(Bytes(64, 0))), chunk("IEND", {})}));
  write(folder, "zero_width.png", join({kSignature, ihdr({0, 4, 8, 0}), chunk("IEND", {})}));
  write(folder, "colour_type_5.png", join({kSignature, ihdr({2, 2, 8, 5}), chunk("IEND", {})}));
  write(folder, "bit_depth_3.png", join({kSignature, ihdr({2, 2, 3, 0}), chunk("IEND", {})}));
  write(folder, "palette_missing.png",
        join({kSignature, ihdr({2, 2, 4, 3}), chunk("IDAT", deflated(Bytes(6, 0))), chunk("IEND", {})}));
  write(folder, "wider_than_any_picture.png", png_bytes::zeroPicture(4097, 1, 0, 1));
  write(folder, "more_pixels_than_any_picture.png", png_bytes::zeroPicture(1024, 513, 0, 1));
  write(folder, "largest_picture.png", png_bytes::zeroPicture(1024, 512, 0, 1));
  write(folder, "text_before_header.png",
        join({kSignature, chunk("tEXt", join({text("Title"), {0}, text("exhaust")})), ihdr({2, 2, 8, 0}),
              chunk("IDAT", deflated(Bytes(6, 0))), chunk("IEND", {})}));
  // Two rows of two grey pixels, then a megabyte more of zeros in the same stream.
  write(folder, "image_data_past_the_rows.png",
        join({kSignature, ihdr({2, 2, 8, 0}), chunk("IDAT", deflatedZeros(6 + (1u << 20))),
              chunk("IEND", {})}));
  write(folder, "text_bomb.png",
        picture({2, 2, 8, 0}, 0,
                chunk("zTXt", join({text("Comment"), {0, 0}, deflated(Bytes(7000000, 'x'))}))));
  return 0;
}
