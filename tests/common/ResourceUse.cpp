#include "common/ResourceUse.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

std::size_t heapBytesInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  // The main arena and the blocks that malloc maps on their own, as the large ones are.
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

namespace {

std::uint64_t bytesReadByProcess() {
  std::ifstream io("/proc/self/io");
  std::string name;
  std::uint64_t value = 0;
  while (io >> name >> value) {
    if (name == "rchar:") return value;
  }
  ADD_FAILURE() << "no read count in /proc/self/io";
  return 0;
}

}  // namespace

FileReadCount::FileReadCount() : start_(bytesReadByProcess()) {}

std::uint64_t FileReadCount::bytes() const { return bytesReadByProcess() - start_; }
