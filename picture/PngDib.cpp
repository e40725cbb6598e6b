#include "picture/PngDib.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include "picture/PackedDibLayout.h"
#include "picture/PngFileBounds.h"
#include "platform/Files.h"

namespace {

picture::PngStructHooks g_hooks;

png_structp createReadStruct(std::jmp_buf* recovery) {
  if (g_hooks.createReadStruct != nullptr) {
    return g_hooks.createReadStruct(PNG_LIBPNG_VER_STRING, recovery, pngErrorHandler, pngWarningHandler);
  }
  return png_create_read_struct(PNG_LIBPNG_VER_STRING, recovery, pngErrorHandler, pngWarningHandler);
}

png_infop createInfoStruct(png_structp png) {
  if (g_hooks.createInfoStruct != nullptr) return g_hooks.createInfoStruct(png);
  return png_create_info_struct(png);
}

// Everything the loader holds while it decodes, released on every way out. It lives in
// loadPngDib's frame while the recovery point is set in decode(), and the members that change after
// that point are volatile as well, so that a jump back from pngErrorHandler always sees their latest
// values. The libpng structures are only set before the recovery point and cleared after the last
// libpng call.
struct Held {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::FILE* volatile file = nullptr;
  png_bytep* volatile rows = nullptr;
  void* volatile block = nullptr;
  // The file's stdio buffer: given one, glibc does not fstat the file again to size its own.
  char fileBuffer[4096];
};

void releaseLibpng(Held& held) {
  if (held.png == nullptr) return;
  png_destroy_read_struct(&held.png, held.info != nullptr ? &held.info : nullptr, nullptr);
  held.png = nullptr;
  held.info = nullptr;
}

void releaseAll(Held& held) {
  releaseLibpng(held);
  if (held.file != nullptr) std::fclose(held.file);
  held.file = nullptr;
  if (held.rows != nullptr) GlobalFree(held.rows);
  held.rows = nullptr;
  if (held.block != nullptr) GlobalFree(held.block);
  held.block = nullptr;
}

// The open file as libpng reads it. Every byte goes through the chunk bounds before libpng sees
// it, so that no chunk can make libpng allocate, read or inflate more than the file and the picture
// hold.
struct FileInput {
  std::FILE* file = nullptr;
  picture::PngChunkBounds bounds;
  std::uint64_t rowsLeft = 0;  // rows that libpng has still to decode
};

void readFileInput(png_structp png, png_bytep data, std::size_t length) {
  auto* input = static_cast<FileInput*>(png_get_io_ptr(png));
  if (std::fread(data, 1, length, input->file) != length) png_error(png, "Read Error");
  if (!input->bounds.pass(data, length)) png_error(png, "chunk out of bounds");
}

// Called by libpng with each decoded row, before it reads on. After the last row libpng reads the
// rest of the image data, which must be no more than its end.
void countDecodedRow(png_structp png, png_row_infop /*row*/, png_bytep /*data*/) {
  auto* input = static_cast<FileInput*>(png_get_io_ptr(png));
  if (input->rowsLeft > 0 && --input->rowsLeft == 0) input->bounds.rowsDecoded();
}

// Chunks that libpng would inflate or keep a copy of, sized by the chunk itself, are skipped
// unread. The remaining ancillary chunks that libpng knows are a few bytes each; unknown ones are
// skipped anyway.
void skipUnusedChunks(png_structp png) {
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER,
                              reinterpret_cast<png_const_bytep>(picture::kSkippedChunks),
                              picture::kSkippedChunkCount);
}

bool sizeAcceptable(png_uint_32 width, png_uint_32 height) {
  return width <= picture::kLargestPictureSide && height <= picture::kLargestPictureSide &&
         std::uint64_t{width} * height <= picture::kLargestPicturePixels;
}

int samplesPerPixel(int colorType) {
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

struct PixelFormat {
  std::uint32_t bitCount = 0;
  std::uint32_t colourCount = 0;
  png_const_colorp palette = nullptr;  // the PLTE entries of a palette picture, owned by libpng
};

// Bit count and colour table by colour type; asks libpng for blue-green-red order where the block
// needs it. libpng has already refused the colour types and bit depths that PNG does not define, so
// the bit counts here always match the rows that libpng will write.
PngDibResult choosePixelFormat(png_structp png, png_infop info, int colorType, int bitDepth,
                               PixelFormat& format) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      format.bitCount = bitDepth > 8 ? 8 : static_cast<std::uint32_t>(bitDepth);
      format.colourCount = 1u << format.bitCount;
      return pngDibOk;
    case PNG_COLOR_TYPE_RGB:
    case PNG_COLOR_TYPE_RGB_ALPHA:
      png_set_bgr(png);
      format.bitCount = 24;
      format.colourCount = 0;
      return pngDibOk;
    case PNG_COLOR_TYPE_PALETTE: {
      png_colorp palette = nullptr;
      int count = 0;
      if (png_get_PLTE(png, info, &palette, &count) == 0 || count <= 0 || count > 256) {
        return pngDibDecodeError;
      }
      format.bitCount = static_cast<std::uint32_t>(bitDepth);
      format.colourCount = static_cast<std::uint32_t>(count);
      format.palette = palette;
      return pngDibOk;
    }
    default:
      return pngDibUnsupportedColorType;
  }
}

void writeColourTable(RGBQUAD* table, const PixelFormat& format) {
  for (std::uint32_t i = 0; i < format.colourCount; ++i) {
    if (format.palette != nullptr) {
      const png_color& colour = format.palette[i];
      table[i] = RGBQUAD{colour.blue, colour.green, colour.red, 0};
    } else {
      const auto v = static_cast<std::uint8_t>(i * 255 / (format.colourCount - 1));
      table[i] = RGBQUAD{v, v, v, 0};
    }
  }
}

// Row k of the PNG (0 is the top row) goes to row height - 1 - k of the block, so that libpng
// writes the picture bottom-up straight into its final place.
void pointRowsBottomUp(png_bytep* rows, std::uint8_t* bits, std::uint32_t height, std::uint32_t stride) {
  for (std::uint32_t k = 0; k < height; ++k) {
    rows[k] = bits + std::size_t{height - 1 - k} * stride;
  }
}

struct Resolution {
  png_uint_32 x = 0;
  png_uint_32 y = 0;
  int unit = 0;
};

void writeHeader(BITMAPINFOHEADER& header, png_uint_32 width, png_uint_32 height, const PixelFormat& format,
                 const picture::PackedDibLayout& layout, const Resolution& resolution) {
  header.biSize = sizeof(BITMAPINFOHEADER);
  // PNG keeps both dimensions below 2^31, so they fit the signed fields.
  header.biWidth = static_cast<std::int32_t>(width);
  header.biHeight = static_cast<std::int32_t>(height);
  header.biPlanes = 1;
  header.biBitCount = static_cast<std::uint16_t>(format.bitCount);
  header.biCompression = BI_RGB;
  header.biSizeImage = layout.imageSize;
  if (resolution.unit == PNG_RESOLUTION_METER) {
    header.biXPelsPerMeter = static_cast<std::int32_t>(resolution.x);
    header.biYPelsPerMeter = static_cast<std::int32_t>(resolution.y);
  }
  header.biClrUsed = format.colourCount;
  header.biClrImportant = 0;
}

// Everything from opening the file to the finished block. The recovery point is set here, so nothing
// in this frame needs to outlive a jump back: what must be released sits in `held`.
PngDibResult decode(PngDibRequest& request, Held& held, std::jmp_buf& recovery) {
  png_structp png = held.png;
  png_infop info = held.info;
  if (setjmp(recovery) != 0) return pngDibDecodeError;

  std::uint64_t fileSize = 0;
  held.file = platform::openRegularFile(request.path, &fileSize);
  if (held.file == nullptr) return pngDibCannotOpen;
  std::setvbuf(held.file, held.fileBuffer, _IOFBF, sizeof held.fileBuffer);

  // Header and pixel format.
  FileInput input{held.file, picture::PngChunkBounds(fileSize)};
  png_set_read_fn(png, &input, readFileInput);
  png_set_compression_buffer_size(png, picture::kImageDataPiece);
  skipUnusedChunks(png);
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  int interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  // Far beyond any catalogue picture: refused as a block that does not fit, before its cost.
  if (!sizeAcceptable(width, height)) return pngDibNoMemory;

  PixelFormat format;
  const PngDibResult formatResult = choosePixelFormat(png, info, colorType, bitDepth, format);
  if (formatResult != pngDibOk) return formatResult;

  Resolution resolution;
  if (png_get_valid(png, info, PNG_INFO_pHYs) != 0) {
    png_get_pHYs(png, info, &resolution.x, &resolution.y, &resolution.unit);
  }

  png_set_strip_alpha(png);
  png_set_strip_16(png);
  input.rowsLeft = picture::decodedRowCount(width, height, interlace != PNG_INTERLACE_NONE);
  png_set_read_user_transform_fn(png, countDecodedRow);

  // Sizes, checked before anything is allocated.
  picture::PackedDibLayout layout;
  if (!picture::computePackedDibLayout(width, height, format.bitCount, format.colourCount, layout)) {
    return pngDibNoMemory;
  }
  // Dimensions that the file's data cannot fill are damage, found before the block is taken.
  const auto pixelBits = static_cast<std::uint32_t>(samplesPerPixel(colorType) * bitDepth);
  if (!picture::imageDataFitsFile(width, height, pixelBits, interlace != PNG_INTERLACE_NONE, fileSize)) {
    return pngDibDecodeError;
  }
  request.blockSize = layout.blockSize;

  // The block and the row table.
  held.block = GlobalAlloc(GMEM_ZEROINIT, static_cast<SIZE_T>(layout.blockSize));
  if (held.block == nullptr) return pngDibNoMemory;
  auto* base = static_cast<std::uint8_t*>(held.block);
  request.block = static_cast<BITMAPINFOHEADER*>(held.block);

  held.rows = static_cast<png_bytep*>(GlobalAlloc(GMEM_FIXED, std::size_t{height} * sizeof(png_bytep)));
  if (held.rows == nullptr) return pngDibNoMemory;

  request.paletteOffset = sizeof(BITMAPINFOHEADER);
  request.bitsOffset = layout.bitsOffset;
  request.palette = reinterpret_cast<RGBQUAD*>(base + sizeof(BITMAPINFOHEADER));
  request.bits = base + layout.bitsOffset;
  request.paletteCount = static_cast<std::int32_t>(format.colourCount);
  writeColourTable(request.palette, format);

  // The pixels, decoded straight into the block.
  pointRowsBottomUp(held.rows, request.bits, height, layout.stride);
  png_read_image(png, held.rows);
  GlobalFree(held.rows);
  held.rows = nullptr;

  png_read_end(png, info);
  releaseLibpng(held);
  std::fclose(held.file);
  held.file = nullptr;

  // The header last, so that a block handed out is always complete.
  writeHeader(*request.block, width, height, format, layout, resolution);
  held.block = nullptr;
  return pngDibOk;
}

}  // namespace

void pngErrorHandler(png_struct_def* png, const char* /*message*/) {
  auto* recovery = static_cast<std::jmp_buf*>(png_get_error_ptr(png));
  std::longjmp(*recovery, -1);
}

void pngWarningHandler(png_struct_def* /*png*/, const char* /*message*/) {}

PngDibResult loadPngDib(PngDibRequest* request) {
  if (request == nullptr || request->size != static_cast<std::int32_t>(sizeof(PngDibRequest))) {
    return pngDibBadRequest;
  }

  std::jmp_buf recovery;
  Held held;
  held.png = createReadStruct(&recovery);
  if (held.png == nullptr) return pngDibNoMemory;
  held.info = createInfoStruct(held.png);
  if (held.info == nullptr) {
    releaseLibpng(held);
    return pngDibNoMemory;
  }

  const PngDibResult result = decode(*request, held, recovery);
  releaseAll(held);
  return result;
}

void picture::setPngStructHooks(const PngStructHooks* hooks) {
  g_hooks = hooks != nullptr ? *hooks : PngStructHooks{};
}
