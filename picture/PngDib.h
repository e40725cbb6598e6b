// The PNG loader: decodes one PNG file with libpng into one packed device-independent bitmap block,
// the layout that SetDIBits takes: a 40-byte BITMAPINFOHEADER, the colour table (RGBQUAD entries), then
// the pixel rows, bottom row first, each padded with zeros to a multiple of 4 bytes.
//
//   PngDibRequest request;             // every field starts zeroed
//   request.size = sizeof request;
//   request.path = "data/data_p/1.dat";
//   if (loadPngDib(&request) == pngDibOk) {
//     ... use request.block (header, colour table) and request.bits (the bottom row) ...
//     GlobalFree(request.block);
//   }
//
// Ownership and lifetime:
//   - After pngDibOk the block belongs to the caller, who releases it once with GlobalFree. `palette`
//     and `bits` point into it and die with it.
//   - After any other result no output field may be used: some may already have been written, and a
//     block named there has been released again. The loader never leaves anything allocated or open.
//   - The loader keeps nothing between calls; the jump buffer, the libpng structures, the open file
//     and the row table are all locals of one call. Only the test seam below is process-wide.
//
// `size` carries the record's own size, as the Windows records do: the caller sets it to
// sizeof(PngDibRequest), which is 40 bytes only where pointers are 32 bits wide. Any other value is a
// bad request and the loader touches nothing else.
//
// Grey pictures (with or without alpha) keep their bit depth up to 8 (16 is cut to 8) and get a grey
// ramp; palette pictures keep their bit depth and get the PLTE colours; RGB pictures become 24-bit
// blue-green-red without a colour table. Alpha and transparency never reach the block. A picture
// larger than picture::kLargestPictureSide or picture::kLargestPicturePixels is refused as
// pngDibNoMemory, a block that does not fit, once its header is read and before anything is
// allocated or decoded.
//
// A damaged file fails at a cost bounded by its real size, whatever it declares: a chunk whose
// length runs past the end of the file, or dimensions that the file's data cannot inflate to, are a
// pngDibDecodeError before libpng or the loader allocates for them, and image data that goes on
// past the picture's last row is a pngDibDecodeError before libpng inflates it. Text, colour
// profiles, suggested palettes, Exif and calibration chunks are skipped unread; standing before the
// header chunk, they are a pngDibDecodeError, as libpng gives for them.
//
// The path is text in the running program's code page and opens the file that it names there (see
// platform/Files.h). Only a regular file is a picture file; a folder, a device or a pipe gives
// pngDibCannotOpen at once.

#ifndef CATALOG_PICTURE_PNGDIB_H_
#define CATALOG_PICTURE_PNGDIB_H_

#include <cstdint>

#include "platform/Win32Memory.h"

struct png_struct_def;
struct png_info_def;

struct PngDibRequest {
  std::int32_t size = 0;              // in: sizeof(PngDibRequest)
  std::int32_t reserved = 0;          // in: 0; never read or written by the loader
  const char* path = nullptr;         // in: the file, relative to the working folder or absolute
  BITMAPINFOHEADER* block = nullptr;  // out: the packed bitmap block, released with GlobalFree
  std::int32_t blockSize = 0;         // out: bytes in the block
  std::int32_t paletteOffset = 0;     // out: 40, where the colour table starts
  std::int32_t bitsOffset = 0;        // out: 40 + 4 * paletteCount, where the pixel rows start
  RGBQUAD* palette = nullptr;         // out: block + paletteOffset
  std::int32_t paletteCount = 0;      // out: colour-table entries, 0 for 24-bit pictures
  std::uint8_t* bits = nullptr;       // out: block + bitsOffset, the bottom pixel row
};

// The loader's return value; callers only tell pngDibOk from the rest. 1, 4 and 6 are not used.
enum PngDibResult : std::int32_t {
  pngDibOk = 0,
  pngDibBadRequest = 2,            // null request or wrong size; nothing else was done
  pngDibNoMemory = 3,              // no libpng structure, block or row table, or a picture too large
  pngDibDecodeError = 5,           // libpng reported an error (not a PNG, bad chunk or CRC, cut off)
  pngDibUnsupportedColorType = 7,  // colour type none of 0, 2, 3, 4, 6
  pngDibCannotOpen = 8,            // no regular file that could be opened for reading
};

// Decodes request->path into a new block and fills the output fields. Synchronous: the file is
// opened, decoded and closed within the call.
PngDibResult loadPngDib(PngDibRequest* request);

// libpng's error callback for the loader: jumps back to the loader's recovery point (the jump buffer
// is libpng's error pointer) and never returns to libpng. The message is dropped.
[[noreturn]] void pngErrorHandler(png_struct_def* png, const char* message);

// libpng's warning callback for the loader: warnings are dropped and decoding goes on.
void pngWarningHandler(png_struct_def* png, const char* message);

namespace picture {

// The largest picture the loader decodes. Every picture is shown at its own size on a drawing of
// 700 x 204 pixels (142,800 in all), so no catalogue picture comes near either bound. A view shows
// up to 30 pictures at once, each held as a bitmap of 4 bytes a pixel; at these bounds a view of the
// largest pictures holds 60 MB and decodes in milliseconds, where a single picture of 16384 x 16384
// pixels took a gigabyte and seconds.
constexpr std::uint32_t kLargestPictureSide = 4096;
constexpr std::uint64_t kLargestPicturePixels = std::uint64_t{1} << 19;

// Test seam, so that tests can make libpng's structures unavailable. Each member that is set
// replaces the libpng call of the same name (png_create_read_struct, png_create_info_struct); a null
// member keeps the real call. Programs never set it.
struct PngStructHooks {
  using MessageHandler = void (*)(png_struct_def* png, const char* message);
  png_struct_def* (*createReadStruct)(const char* version, void* errorPointer, MessageHandler error,
                                      MessageHandler warning) = nullptr;
  png_info_def* (*createInfoStruct)(png_struct_def* png) = nullptr;
};

// Copies `hooks` into the loader; nullptr restores the real libpng calls.
void setPngStructHooks(const PngStructHooks* hooks);

}  // namespace picture

#endif  // CATALOG_PICTURE_PNGDIB_H_
