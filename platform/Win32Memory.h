// Stand-ins for the Win32 global-memory calls and the packed-bitmap record types.
//
// GlobalAlloc returns a fixed block (the handle is the block's address), zero-filled when
// GMEM_ZEROINIT is given; the caller releases it with GlobalFree, once. The structures have the
// byte layout of the Windows headers, so a packed bitmap block can be read and written field by
// field on any little-endian machine.
#pragma once

#include <cstddef>
#include <cstdint>

using HGLOBAL = void*;
using UINT = unsigned int;
using SIZE_T = std::size_t;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Null when the block cannot be had (a size of 0 gives a valid, empty block).
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Returns null on success, as the Windows call does.
HGLOBAL GlobalFree(HGLOBAL block);

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
  std::uint32_t biSize;
  std::int32_t biWidth;
  std::int32_t biHeight;
  std::uint16_t biPlanes;
  std::uint16_t biBitCount;
  std::uint32_t biCompression;
  std::uint32_t biSizeImage;
  std::int32_t biXPelsPerMeter;
  std::int32_t biYPelsPerMeter;
  std::uint32_t biClrUsed;
  std::uint32_t biClrImportant;
};

struct RGBQUAD {
  std::uint8_t rgbBlue;
  std::uint8_t rgbGreen;
  std::uint8_t rgbRed;
  std::uint8_t rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};
#pragma pack(pop)

static_assert(sizeof(BITMAPINFOHEADER) == 40, "packed bitmap header must be 40 bytes");
static_assert(sizeof(RGBQUAD) == 4, "colour table entries must be 4 bytes");

constexpr std::uint32_t BI_RGB = 0;

// Copies at most max - 1 characters and a terminating NUL; returns dest (null when max is 0).
char* lstrcpynA(char* dest, const char* source, int max);

namespace platform {

// Test seam: when set, GlobalAlloc asks the hook first; a hook that returns false makes that
// allocation fail. The hook sees the flags and size of every request. Pass nullptr to remove it.
using GlobalAllocHook = bool (*)(UINT flags, SIZE_T bytes);
void setGlobalAllocHook(GlobalAllocHook hook);

// Test seam: when set, told of every block that GlobalAlloc hands out (released false) and of
// every block given to GlobalFree (released true), so that a test can pair each block with its
// release. Pass nullptr to remove it.
using GlobalBlockObserver = void (*)(HGLOBAL block, bool released);
void setGlobalBlockObserver(GlobalBlockObserver observer);

}  // namespace platform
