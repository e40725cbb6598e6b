// make_artwork: draws the pictures that the programs carry inside themselves.
//
//   make_artwork --splash german|polish <out.jpg>  the splash picture of one program
//   make_artwork --icon <out.ico>                  the window icon of both programs
//
// Lettering needs a Qt platform; run it with QT_QPA_PLATFORM=offscreen where there is no display.

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "artwork/Artwork.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: make_artwork --splash german|polish <out.jpg>\n"
               "       make_artwork --icon <out.ico>\n");
  return 2;
}

int run(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--splash") == 0) {
    const std::string language = argv[2];
    if (language != "german" && language != "polish") return usage();
    const auto which = language == "german" ? artwork::Language::kGerman : artwork::Language::kPolish;
    artwork::writeBaselineJpeg(argv[3], artwork::drawSplash(which), artwork::kSplashQuality);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--icon") == 0) {
    artwork::writeIcon16(argv[2], artwork::windowIconPixels(), artwork::windowIconPalette());
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
    std::fprintf(stderr, "make_artwork: %s\n", error.what());
    return 1;
  }
}
