// make_demo: writes the demo working folder of the catalogue programs, or the artwork that the
// programs embed.
//
//   make_demo <folder>                          the demo catalogue with its pictures and logos
//   make_demo --scale <folder>                  the large catalogue for benchmarks
//   make_demo --splash german|polish <out.jpg>  the splash picture of one program
//   make_demo --icon <out.ico>                  the window icon of both programs
//
// Lettering needs a Qt platform; run it with QT_QPA_PLATFORM=offscreen where there is no display.

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/Artwork.h"
#include "tools/DemoFolder.h"
#include "tools/ImageFiles.h"

namespace {

constexpr int kSplashQuality = 92;

int usage() {
  std::fprintf(stderr,
               "usage: make_demo [--scale] <folder>\n"
               "       make_demo --splash german|polish <out.jpg>\n"
               "       make_demo --icon <out.ico>\n");
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
  if (argc == 4 && std::strcmp(argv[1], "--splash") == 0) {
    const std::string language = argv[2];
    if (language != "german" && language != "polish") return usage();
    const auto which = language == "german" ? demo::Language::kGerman : demo::Language::kPolish;
    demo::writeBaselineJpeg(argv[3], demo::drawSplash(which), kSplashQuality);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--icon") == 0) {
    demo::writeIcon16(argv[2], demo::windowIconPixels(), demo::windowIconPalette());
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
