// What a test process takes while a step runs, for bounded-allocation tests that work alike in the
// plain build and under AddressSanitizer (whose reserved address space rules out an address-space
// limit): the bytes its heap holds, and the bytes it reads from files.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes that the heap holds now: malloc's and operator new's blocks, the toolkit's images among
// them, as the allocator in use counts them.
std::size_t heapBytesInUse();

// The bytes that this process reads from files while it lives, as the kernel counts them, to show
// how much of a file a step read. The count includes its own reads, a few hundred bytes.
class FileReadCount {
 public:
  FileReadCount();
  std::uint64_t bytes() const;

 private:
  std::uint64_t start_ = 0;
};
