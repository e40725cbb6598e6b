// The programs' own artwork: the splash picture of each language and the window icon. Both are
// drawn at build time (make_artwork) and compiled into the programs as byte arrays
// (EmbeddedAssets.h); the programs never draw them. Lettering uses the system's fonts, so a
// QGuiApplication must exist (the offscreen platform will do).

#ifndef CATALOG_ARTWORK_ARTWORK_H_
#define CATALOG_ARTWORK_ARTWORK_H_

#include <QFont>
#include <QImage>

#include "artwork/PictureFiles.h"

namespace artwork {

enum class Language { kGerman, kPolish };

// The size of the splash window's picture, and the JPEG quality it is stored with.
constexpr int kSplashWidth = 517;
constexpr int kSplashHeight = 333;
constexpr int kSplashQuality = 92;

QImage drawSplash(Language language);

// The window icon: a white "V" on dark blue over a red exhaust line, in the 16 Windows colours.
const IconPixels& windowIconPixels();
const IconPalette& windowIconPalette();

// The typeface of every lettering the project draws, here and in the demo catalogue's pictures;
// without smoothing, a lettering keeps to the few colours of its picture.
QFont letteringFont(int pixelSize, bool bold, bool smooth);

}  // namespace artwork

#endif  // CATALOG_ARTWORK_ARTWORK_H_
