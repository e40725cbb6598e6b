// The Win32 calls that the catalogue code makes, in one place: global memory, the packed-bitmap
// records, SetDIBits, lstrcpynA (Win32Memory.h), the message-box constants, the shell and Sleep.
#pragma once

#include "platform/Dialogs.h"
#include "platform/Handles.h"
#include "platform/Shell.h"
#include "platform/Win32Memory.h"

constexpr UINT DIB_RGB_COLORS = 0;

// Copies `lines` rows of a packed device-independent bitmap (the header and colour table in
// `info`, the rows bottom-up at `bits`) into the bitmap behind `bitmap`, which keeps its size.
// Takes 1, 4, 8 and 24 bits per pixel with a colour table where the bit count needs one; any
// other bit count copies nothing, as on Windows. Returns the number of rows copied. The device
// context is not needed beyond its existence.
int SetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);

// Releases a bitmap handle that ReleaseHandle gave up.
bool DeleteObject(HBITMAP bitmap);
