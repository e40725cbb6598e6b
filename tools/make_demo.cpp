// make_demo: writes the demo working folder of the catalogue programs.
//
//   make_demo <folder>           the demo catalogue with its pictures and logos
//   make_demo --scale <folder>   the large catalogue for benchmarks
//
// Lettering needs a Qt platform; run it with QT_QPA_PLATFORM=offscreen where there is no display.

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <exception>

#include "tools/DemoFolder.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: make_demo [--scale] <folder>\n");
  return 2;
}

int run(int argc, char** argv) {
  if (argc == 2 && argv[1][0] != '-') {
    demo::writeDemoFolder(argv[1], demo::CatalogSize::kDemo);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--scale") == 0) {
    demo::writeDemoFolder(argv[2], demo::CatalogSize::kScale);
    return 0;
  }
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_demo: %s\n", error.what());
    return 1;
  }
}
