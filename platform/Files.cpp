#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/CodePage.h"

namespace platform {

std::FILE* openRegularFile(const char* ansiPath, std::uint64_t* size) {
  if (ansiPath == nullptr) return nullptr;
  const std::string name = ansiToUtf8(ansiPath);
  // Without waiting: a pipe with no writer would otherwise hold the open for ever.
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
    ::close(fd);
    return nullptr;
  }
  // The flag may stay: it changes nothing for the reads of a regular file.
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    ::close(fd);
    return nullptr;
  }
  if (size != nullptr) *size = static_cast<std::uint64_t>(status.st_size);
  return file;
}

}  // namespace platform
