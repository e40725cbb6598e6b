// The hostile views of the preview and details benchmarks: one system of 29 items that all show
// one crafted picture (a few kilobytes that declare thousands of pixels a side), over a drawing of
// the demo catalogue, and the memory that one view takes beyond the process's idle size.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/PngBytes.h"

namespace bench {

// The pictures of the hostile views: the three crafted ones, and the largest picture that the
// loader takes, to show what the bound itself lets a view cost.
const std::vector<png_bytes::HostilePicture>& hostilePictures();

// A temporary working folder with the demo's drawings and a catalogue of one system, "H1", whose
// 29 items are visible parts that show `picture` as their normal and their highlight picture.
class HostileFolder {
 public:
  explicit HostileFolder(const png_bytes::HostilePicture& picture);
  HostileFolder(const HostileFolder&) = delete;
  HostileFolder& operator=(const HostileFolder&) = delete;
  ~HostileFolder();

  bool ready() const { return ready_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool ready_ = false;
};

// Runs `view` once and returns the most resident memory that the process took during it beyond
// its size before, freed memory given back first (the kernel's high-water mark, set back to the
// present size).
std::uint64_t peakBeyondIdle(const std::function<void()>& view);

// The peak of one view of each hostile picture, by benchmark name, for the report at the end.
std::map<std::string, std::uint64_t>& hostilePeaks();

class RatioReporter;
// Prints one line for each hostile benchmark that ran: its picture, the time of one view and its
// peak memory beyond the idle size.
void printHostileViews(const RatioReporter& reporter, const char* view, const std::string& benchmark);

}  // namespace bench
