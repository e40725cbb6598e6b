#include "app/support/CatalogRun.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Unit1.h"
#include "app/WinMain.h"
#include "app/support/ProgramControls.h"
#include "forms/Layouts.h"
#include "platform/CodePage.h"
#include "platform/Shell.h"

namespace fs = std::filesystem;

namespace {

void put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, unsigned value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// A 24-bit bottom-up Windows bitmap file of one colour.
std::string bitmapFile(int width, int height, unsigned char red, unsigned char green, unsigned char blue) {
  const unsigned stride = ((width * 24 + 31) / 32) * 4;
  const unsigned pixelBytes = stride * height;
  std::string out;
  out += "BM";
  put32(out, 14 + 40 + pixelBytes);
  put32(out, 0);
  put32(out, 14 + 40);
  put32(out, 40);
  put32(out, width);
  put32(out, height);
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, pixelBytes);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      row += static_cast<char>(blue);
      row += static_cast<char>(green);
      row += static_cast<char>(red);
    }
    row.resize(stride, '\0');
    out += row;
  }
  return out;
}

}  // namespace

std::string logoFileName() {
  std::string name = forms::kDetailsLogoFile;
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return name;
}

std::string utf8(const char* ansi) { return platform::ansiToUtf8(ansi != nullptr ? ansi : ""); }

WorkingFolder::WorkingFolder() : previous_(fs::current_path().string()) { fs::current_path(path()); }

WorkingFolder::~WorkingFolder() { fs::current_path(previous_); }

void WorkingFolder::writeCatalogue(const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((path() + "/veldo28.bgp").c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const std::string script = std::string(kCatalogueSchema) + sql;
  const int result = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(result, SQLITE_OK) << (error != nullptr ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

void WorkingFolder::writeLogo() { writeFile(logoFileName(), bitmapFile(462, 72, 0x20, 0x40, 0x80)); }

void WorkingFolder::makeFolder(const std::string& name) { fs::create_directories(path() + "/" + name); }

void WorkingFolder::writeFile(const std::string& name, const std::string& bytes) {
  const fs::path file = fs::path(path()) / name;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

std::string WorkingFolder::readFile(const std::string& name) const {
  std::ifstream in(fs::path(path()) / name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

StartupRun::StartupRun() {
  previousBoxes_ = platform::setBoxHandler([this](const platform::BoxRequest& request) {
    if (onBox) onBox(request);
    boxes.push_back(
        RecordedBox{request.kind, utf8(request.text.c_str()), utf8(request.caption.c_str()), request.flags});
    return answer;
  });
  platform::setSleepHandler([this](unsigned milliseconds) {
    if (onSleep) onSleep(milliseconds);
    sleeps.push_back(milliseconds);
  });
}

StartupRun::~StartupRun() {
  platform::setSleepHandler({});
  platform::setBoxHandler(previousBoxes_);
}

int StartupRun::run(const std::function<void()>& whileRunning, const std::function<void()>& beforeTeardown) {
  auto* application = new TApplication();
  Application = application;
  initGlobals();

  // Waits for the main window on screen: events may be handled before the message loop runs
  // (while the splash waits to be exposed), so the first timer tick is not yet the loop.
  QTimer closer;
  closer.setInterval(5);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (Form1 == nullptr || !Form1->Visible()) return;
    closer.stop();
    if (whileRunning) whileRunning();
    if (Form1 != nullptr) Form1->Close();
  });
  closer.start();

  const int result = WinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
  closer.stop();
  if (beforeTeardown) beforeTeardown();

  freeGlobals();
  releaseProgramControls();
  delete application;
  Application = nullptr;
  Form1 = nullptr;
  return result;
}
