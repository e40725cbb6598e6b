// The pixels behind a bitmap handle (HBITMAP), shared by TBitmap, SetDIBits and DeleteObject.
//
// An HBITMAP is the address of one BitmapData. A bitmap owns its data until it lends the handle
// out with ReleaseHandle (owner null); the handle then belongs to whoever holds it until it comes
// back through SetHandle or goes with DeleteObject.
#pragma once

#include <QImage>

#include "platform/Graphics.h"
#include "platform/Handles.h"

namespace platform {

struct BitmapData {
  BitmapData() = default;
  BitmapData(const BitmapData&) = delete;
  BitmapData& operator=(const BitmapData&) = delete;

  // Format_RGB32, exactly width x height; a null image while either is 0.
  QImage image;
  int width = 0;
  int height = 0;
  TBitmap* owner = nullptr;

  // Changes the size; the pixels that still fit stay where they were, new ones are white.
  void Resize(int newWidth, int newHeight);
  // To be called after the pixels were written: tells the owning bitmap, so that what shows it
  // repaints.
  void PixelsChanged();

  static BitmapData* From(HBITMAP handle) { return reinterpret_cast<BitmapData*>(handle); }
  HBITMAP Handle() { return reinterpret_cast<HBITMAP>(this); }
};

}  // namespace platform
