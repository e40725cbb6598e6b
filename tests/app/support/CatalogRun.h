// Test helpers for the application: a working folder with a small catalogue, and a start-up run
// that does what the program's main routine does, with every box answered and every wait
// skipped through the framework's seams.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/CatalogueSchema.h"
#include "common/TempFolder.h"
#include "platform/Dialogs.h"

// A fresh temporary folder that becomes the working folder for its lifetime; the previous
// working folder is restored and the folder removed afterwards.
class WorkingFolder {
 public:
  WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;
  ~WorkingFolder();

  const std::string& path() const { return folder_.path(); }

  // "veldo28.bgp" with the five tables (AUTA's columns in the catalogue's order), then `sql`.
  void writeCatalogue(const std::string& sql = "");
  // The build's logo, "data/lg_de.dat" or "data/lg_pl.dat": a valid 462 x 72 Windows bitmap.
  void writeLogo();
  // Any file, relative to the folder; missing folders are made.
  void writeFile(const std::string& name, const std::string& bytes);
  void makeFolder(const std::string& name);
  std::string readFile(const std::string& name) const;

 private:
  TempFolder folder_;
  std::string previous_;
};

// The build's logo file name, with a slash.
std::string logoFileName();

// One box as the program asked for it, texts in UTF-8.
struct RecordedBox {
  platform::BoxKind kind;
  std::string text;
  std::string caption;
  unsigned flags;
};

// Runs the program's start-up in this process: a new application object, the file-scope
// objects, WinMain, then the teardown; the main window is closed as soon as the message loop
// runs. Boxes are recorded and answered with `answer` (IDOK unless set); Sleep only records.
class StartupRun {
 public:
  StartupRun();
  StartupRun(const StartupRun&) = delete;
  StartupRun& operator=(const StartupRun&) = delete;
  ~StartupRun();

  // WinMain's result. `whileRunning` runs once inside the message loop, before the main window
  // is closed; `beforeTeardown` after WinMain has returned, before anything is destroyed.
  int run(const std::function<void()>& whileRunning = {}, const std::function<void()>& beforeTeardown = {});

  std::vector<RecordedBox> boxes;
  std::vector<unsigned> sleeps;
  int answer = IDOK;
  // Called at every box and every Sleep, before it is recorded (to look at the screen then).
  std::function<void(const platform::BoxRequest&)> onBox;
  std::function<void(unsigned)> onSleep;

 private:
  platform::BoxHandler previousBoxes_;
};

// Texts of the build in UTF-8, for readable expectations.
std::string utf8(const char* ansi);
