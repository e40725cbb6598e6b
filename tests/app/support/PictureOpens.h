// Which picture files a program opens, as the file system reports it (inotify), so that a test or
// a benchmark can count the decodes of a step without reaching into the code that decodes.
#pragma once

#include <string>
#include <vector>

class PictureOpens {
 public:
  // Watches the picture folders data/data_p, data/data_b and data/data_r under `folder` (those
  // that exist now).
  explicit PictureOpens(const std::string& folder);
  PictureOpens(const PictureOpens&) = delete;
  PictureOpens& operator=(const PictureOpens&) = delete;
  ~PictureOpens();

  // The files opened since the last call, in order, each as "data_b/<name>" and so on.
  std::vector<std::string> take();

 private:
  int fd_ = -1;
  std::vector<std::pair<int, std::string>> watches_;
};
