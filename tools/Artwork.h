// The generator's own artwork: part and element pictures (normal and red highlighted), the
// systems' background drawings, the logos of the details window, the splash picture and the
// window icon. Everything is drawn with QPainter on a QImage; lettering uses the system's fonts,
// so a QGuiApplication must exist (the offscreen platform will do).

#ifndef CATALOG_TOOLS_ARTWORK_H_
#define CATALOG_TOOLS_ARTWORK_H_

#include <QImage>

#include "tools/DemoCatalog.h"
#include "tools/ImageFiles.h"

namespace demo {

enum class Language { kGerman, kPolish };

// Size of the logo area of the details window and of the splash window.
constexpr int kLogoWidth = 462;
constexpr int kLogoHeight = 72;
constexpr int kSplashWidth = 517;
constexpr int kSplashHeight = 333;

// The picture's shape on its plain background; drawn without smoothing, so a picture holds only
// a handful of colours and fits a 16-colour palette. Nothing touches the outermost pixels.
QImage drawItemPicture(const ItemPicture& picture, bool highlighted);

// The 700 x 204 background of a system: the floor of a car and the exhaust line the parts lie on.
QImage drawSystemDrawing(const Catalog& catalog, const ExhaustSystem& system);

QImage drawLogo(Language language);
QImage drawSplash(Language language);

// The window icon: a white "V" on dark blue over a red exhaust line, in the 16 Windows colours.
const IconPixels& windowIconPixels();
const IconPalette& windowIconPalette();

}  // namespace demo

#endif  // CATALOG_TOOLS_ARTWORK_H_
