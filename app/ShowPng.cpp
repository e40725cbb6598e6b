#include "app/ShowPng.h"

#include <cstring>

#include "app/Unit1.h"
#include "picture/PngDib.h"
#include "platform/WinApi.h"

namespace {

constexpr int kPathBuffer = 260;

// Releases the decoded block when the copy ends, however it ends.
class BlockGuard {
 public:
  explicit BlockGuard(BITMAPINFOHEADER* block) : block_(block) {}
  BlockGuard(const BlockGuard&) = delete;
  BlockGuard& operator=(const BlockGuard&) = delete;
  ~BlockGuard() { GlobalFree(block_); }

 private:
  BITMAPINFOHEADER* block_;
};

}  // namespace

void showPngInImage(TImage* image, const char* path) {
  // 1. The path buffer. A longer path is not cut short: a cut path could name another picture,
  // so it loads nothing, as a path that names no file.
  if (image == nullptr || path == nullptr || std::strlen(path) >= kPathBuffer) return;
  char pathBuffer[kPathBuffer];
  lstrcpynA(pathBuffer, path, kPathBuffer);

  // 2. and 3. The decode; any failure leaves the image as it was.
  PngDibRequest request{};
  request.size = sizeof(PngDibRequest);
  request.path = pathBuffer;
  if (loadPngDib(&request) != pngDibOk) return;
  const BlockGuard release(request.block);  // 10., on every way out

  // 4. and 5. The image's bitmap at the picture's size, both sides in one step: a size that the
  // bitmap refuses is refused before anything changes, so the image keeps what it showed.
  const BITMAPINFOHEADER& header = *request.block;
  TBitmap* bitmap = image->Picture()->Bitmap();
  try {
    bitmap->SetSize(header.biWidth, header.biHeight);
  } catch (...) {
    return;
  }

  // 6. to 9. The pixels, copied through the bitmap's handle, which always comes back to it.
  HBITMAP handle = bitmap->ReleaseHandle();
  HDC dc = Form1->Canvas()->Handle();
  try {
    SetDIBits(dc, handle, 0, static_cast<UINT>(header.biHeight), request.bits,
              reinterpret_cast<const BITMAPINFO*>(request.block), DIB_RGB_COLORS);
  } catch (...) {
    // A failed copy shows nothing new; the caller goes on with its next step.
  }
  bitmap->SetHandle(handle);
}
