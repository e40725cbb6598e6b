// Test helpers for pictures on screen: PNG files of known colours in a working folder, catalogue
// rows that place parts and elements on a system drawing, and a watch over the global-memory
// blocks that decoding takes and gives back.
#pragma once

#include <QImage>
#include <cstdint>
#include <set>
#include <string>

namespace pictures {

// A picture of one colour.
QImage filled(int width, int height, QRgb colour);
// A picture whose `keyColumns` left columns have the colour `key` (so its bottom-left pixel is
// `key`, the colour a transparent image leaves out) and whose other columns are `body`.
QImage keyedLeft(int width, int height, int keyColumns, QRgb key, QRgb body);

// Writes `image` as a 24-bit RGB PNG at `path` (relative to the working folder); missing folders
// are made.
void writePng(const std::string& path, const QImage& image);
// A grey PNG of `bitDepth` bits per pixel, every pixel at grey level `level`, written with libpng
// directly: for the depths and sizes that the demo writer leaves out.
void writeGreyPng(const std::string& path, std::uint32_t width, std::uint32_t height, int bitDepth,
                  unsigned level);

}  // namespace pictures

namespace rows {

// A SQL literal: the text in single quotes, or NULL for a null pointer.
std::string literal(const char* text);

// An application of system `systemId` in AUTA, found by the number search for "PV" (its UKLADY
// holds it); the result list sorts the applications by `make`.
std::string application(const std::string& systemId, const std::string& number, const std::string& iteration,
                        const std::string& make);
// A part of a system in T_U. Placement and VISIBLE are given as the texts the catalogue stores.
std::string part(const std::string& key, const std::string& systemId, const char* visible,
                 const std::string& picture, const char* x, const char* y, const char* w, const char* h);
std::string part(const std::string& key, const std::string& systemId, const char* visible,
                 const std::string& picture, int x, int y, int w, int h);
// An element of a part in T_U_ELEMENT.
std::string element(const std::string& partKey, const std::string& picture, int x, int y, int w, int h);

}  // namespace rows

// While it lives, notes every block that GlobalAlloc hands out and every release through
// GlobalFree. One at a time.
class GlobalBlockWatch {
 public:
  GlobalBlockWatch();
  GlobalBlockWatch(const GlobalBlockWatch&) = delete;
  GlobalBlockWatch& operator=(const GlobalBlockWatch&) = delete;
  ~GlobalBlockWatch();

  // Blocks handed out since the watch began, the zero-filled ones (the decoded pictures) apart.
  int allocated() const;
  int pictureBlocks() const;
  // Blocks handed out and not yet released.
  int held() const;
  // Releases of a block that was not held: released twice, or never handed out.
  int strayReleases() const;
};
