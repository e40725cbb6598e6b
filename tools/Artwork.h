// The demo catalogue's pictures: part and element pictures (normal and red highlighted), the
// systems' background drawings and the logos of the details window. The programs' own splash
// picture and window icon are not here but in artwork/. Everything is drawn with QPainter on a
// QImage; lettering uses the system's fonts, so a QGuiApplication must exist (the offscreen
// platform will do).

#ifndef CATALOG_TOOLS_ARTWORK_H_
#define CATALOG_TOOLS_ARTWORK_H_

#include <QImage>

#include "artwork/Artwork.h"
#include "tools/DemoCatalog.h"

namespace demo {

// Size of the logo area of the details window.
constexpr int kLogoWidth = 462;
constexpr int kLogoHeight = 72;

// The picture's shape on its plain background; drawn without smoothing, so a picture holds only
// a handful of colours and fits a 16-colour palette. Nothing touches the outermost pixels.
QImage drawItemPicture(const ItemPicture& picture, bool highlighted);

// The 700 x 204 background of a system: the floor of a car and the exhaust line the parts lie on.
QImage drawSystemDrawing(const Catalog& catalog, const ExhaustSystem& system);

QImage drawLogo(artwork::Language language);

}  // namespace demo

#endif  // CATALOG_TOOLS_ARTWORK_H_
