// The pictures that each program carries inside itself: the splash window's JPEG and the window
// icon. Both are drawn at build time (make_artwork --splash, --icon) and compiled in as byte
// arrays; link assets_german or assets_polish for the build's language. The icon is the same in
// both. The arrays live for the whole run and are never written.

#ifndef CATALOG_ARTWORK_EMBEDDEDASSETS_H_
#define CATALOG_ARTWORK_EMBEDDEDASSETS_H_

#include <cstddef>

namespace assets {

// A baseline JPEG, 517 x 333 pixels, three colour components.
extern const unsigned char kSplashJpeg[];
extern const std::size_t kSplashJpegSize;

// A Windows icon file (.ico) with one 16 x 16 picture of 16 colours.
extern const unsigned char kWindowIcon[];
extern const std::size_t kWindowIconSize;

}  // namespace assets

#endif  // CATALOG_ARTWORK_EMBEDDEDASSETS_H_
