#include "picture/support/LibpngMemory.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>

#include "picture/PngDib.h"

namespace {

std::size_t g_largest = 0;
std::size_t g_peak = 0;
std::size_t g_held = 0;

// Each block carries its size in front, at an offset that keeps the caller's part aligned.
constexpr std::size_t kPrefix = alignof(std::max_align_t);

png_voidp countingMalloc(png_structp, png_alloc_size_t bytes) {
  if (bytes > SIZE_MAX - kPrefix) return nullptr;
  g_largest = std::max(g_largest, static_cast<std::size_t>(bytes));
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<std::size_t*>(block) = bytes;
  g_held += bytes;
  g_peak = std::max(g_peak, g_held);
  return block + kPrefix;
}

void countingFree(png_structp, png_voidp pointer) {
  if (pointer == nullptr) return;
  auto* block = static_cast<unsigned char*>(pointer) - kPrefix;
  g_held -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

png_struct_def* createCountedReadStruct(const char* version, void* errorPointer,
                                        picture::PngStructHooks::MessageHandler error,
                                        picture::PngStructHooks::MessageHandler warning) {
  return png_create_read_struct_2(version, errorPointer, error, warning, nullptr, countingMalloc,
                                  countingFree);
}

}  // namespace

LibpngMemoryWatch::LibpngMemoryWatch() {
  reset();
  picture::PngStructHooks hooks;
  hooks.createReadStruct = createCountedReadStruct;
  picture::setPngStructHooks(&hooks);
}

LibpngMemoryWatch::~LibpngMemoryWatch() { picture::setPngStructHooks(nullptr); }

void LibpngMemoryWatch::reset() {
  g_largest = 0;
  g_peak = g_held;
}

std::size_t LibpngMemoryWatch::largestRequest() const { return g_largest; }
std::size_t LibpngMemoryWatch::peakHeld() const { return g_peak; }
std::size_t LibpngMemoryWatch::heldNow() const { return g_held; }
