// Watches libpng's own memory while it lives: the loader's read structures are created through
// libpng's allocator interface with counting functions, so that a test can see the largest single
// request and the most that libpng held at once during a decode. One at a time; it restores the
// loader's real libpng calls when destroyed.

#ifndef CATALOG_TESTS_PICTURE_SUPPORT_LIBPNGMEMORY_H_
#define CATALOG_TESTS_PICTURE_SUPPORT_LIBPNGMEMORY_H_

#include <cstddef>

class LibpngMemoryWatch {
 public:
  LibpngMemoryWatch();
  LibpngMemoryWatch(const LibpngMemoryWatch&) = delete;
  LibpngMemoryWatch& operator=(const LibpngMemoryWatch&) = delete;
  ~LibpngMemoryWatch();

  // Forgets what was seen so far.
  void reset();

  std::size_t largestRequest() const;
  std::size_t peakHeld() const;
  std::size_t heldNow() const;
};

#endif  // CATALOG_TESTS_PICTURE_SUPPORT_LIBPNGMEMORY_H_
