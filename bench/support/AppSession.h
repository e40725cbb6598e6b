// The catalogue program set up inside a benchmark: the toolkit, the build's code page, the
// application object, the file-scope objects and the main window, in a working folder that holds
// a catalogue. Boxes are answered at once and counted instead of shown, so a handler that reports
// a failure never waits for a person.
#pragma once

#include <functional>
#include <string>

namespace bench {

// The large catalogue the build writes for benchmarks (about 200,000 applications, one make and
// model with more than 8,000), and the demo catalogue.
std::string scaleCatalogueFolder();
std::string demoCatalogueFolder();

// Runs the benchmarks of the program's command line with a QApplication on the offscreen
// platform and the build's code page; then calls `report` (to print ratios) and returns 0.
class RatioReporter;
int runAppBenchmarks(int argc, char** argv, const std::function<void(const RatioReporter&)>& report);

// While it lives, the working folder is `folder` and the main window Form1 exists and is shown,
// built as start-up builds it (catalogue opened, details window laid out, make list filled).
class AppSession {
 public:
  explicit AppSession(const std::string& folder);
  AppSession(const AppSession&) = delete;
  AppSession& operator=(const AppSession&) = delete;
  ~AppSession();

  // Boxes shown since the session began.
  int boxCount() const { return boxes_; }

 private:
  std::string previousFolder_;
  int boxes_ = 0;
};

}  // namespace bench
