// Putting one catalogue picture (a PNG file, whatever its extension) into an image control.
//
// The only way the catalogue's drawings reach the screen: the preview, the details drawing and
// the hover highlight all call it for every background, part and element picture.
#pragma once

#include "platform/ImageCtrls.h"

// Decodes the PNG file at `path` (text in the build's code page, naming the file of that name, see
// platform/Files.h) and shows it in `image` at the picture's own size: the bitmap of the image's
// picture becomes width x height of the file. When the file cannot be opened or decoded, its path
// does not fit the 260-character path buffer (a longer path is not cut, as a cut one could name
// another picture), or the picture is too large for the loader or a bitmap, the image keeps what it
// showed, silently: its size is settled before the bitmap changes. A picture whose pixels the bitmap copy
// does not take (2 bits per pixel) gives the bitmap its size without its pixels. An exception during the copy
// goes no further. The decoded block is released before the call returns, on every path; the bitmap always
// owns its handle again afterwards. Needs the main window (Form1), whose canvas serves as the device context
// of the copy.
void showPngInImage(TImage* image, const char* path);
