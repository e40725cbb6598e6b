#include "platform/Win32Memory.h"

#include <cstdlib>

namespace {
platform::GlobalAllocHook g_hook = nullptr;
}

void platform::setGlobalAllocHook(GlobalAllocHook hook) { g_hook = hook; }

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (g_hook != nullptr && !g_hook(flags, bytes)) return nullptr;
  // One byte at least, so that an empty block is still a distinct, freeable address.
  const SIZE_T size = bytes == 0 ? 1 : bytes;
  return (flags & GMEM_ZEROINIT) != 0 ? std::calloc(1, size) : std::malloc(size);
}

HGLOBAL GlobalFree(HGLOBAL block) {
  std::free(block);
  return nullptr;
}

char* lstrcpynA(char* dest, const char* source, int max) {
  if (dest == nullptr || max <= 0) return nullptr;
  int i = 0;
  if (source != nullptr) {
    for (; i < max - 1 && source[i] != '\0'; ++i) dest[i] = source[i];
  }
  dest[i] = '\0';
  return dest;
}
