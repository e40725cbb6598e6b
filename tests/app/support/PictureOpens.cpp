#include "app/support/PictureOpens.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

PictureOpens::PictureOpens(const std::string& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (fd_ < 0) return;
  for (const char* name : {"data_p", "data_b", "data_r"}) {
    // Closes are watched too, so that no two reported opens are alike in a row: the kernel merges
    // an event into an unread one just like it.
    const int watch = inotify_add_watch(fd_, (folder + "/data/" + name).c_str(), IN_OPEN | IN_CLOSE_NOWRITE);
    if (watch >= 0) watches_.emplace_back(watch, name);
  }
}

PictureOpens::~PictureOpens() {
  if (fd_ >= 0) close(fd_);
}

std::vector<std::string> PictureOpens::take() {
  std::vector<std::string> opened;
  if (fd_ < 0) return opened;
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t length = read(fd_, buffer, sizeof buffer);
    if (length <= 0) break;
    for (ssize_t at = 0; at < length;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof event;
      for (const auto& [watch, folder] : watches_) {
        if (watch == event.wd && (event.mask & IN_OPEN) != 0 && event.len > 0)
          opened.push_back(folder + "/" + name);
      }
      at += static_cast<ssize_t>(sizeof event + event.len);
    }
  }
  return opened;
}
