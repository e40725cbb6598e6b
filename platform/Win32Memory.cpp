#include "platform/Win32Memory.h"

#include <cstdlib>

namespace {
platform::GlobalAllocHook g_hook = nullptr;
platform::GlobalBlockObserver g_observer = nullptr;
}  // namespace

void platform::setGlobalAllocHook(GlobalAllocHook hook) { g_hook = hook; }

void platform::setGlobalBlockObserver(GlobalBlockObserver observer) { g_observer = observer; }

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (g_hook != nullptr && !g_hook(flags, bytes)) return nullptr;
  // One byte at least, so that an empty block is still a distinct, freeable address.
  const SIZE_T size = bytes == 0 ? 1 : bytes;
  HGLOBAL block = (flags & GMEM_ZEROINIT) != 0 ? std::calloc(1, size) : std::malloc(size);
  if (block != nullptr && g_observer != nullptr) g_observer(block, false);
  return block;
}

HGLOBAL GlobalFree(HGLOBAL block) {
  if (block != nullptr && g_observer != nullptr) g_observer(block, true);
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
