#include "app/support/PictureFixtures.h"

#include <gtest/gtest.h>
#include <png.h>

#include <QPainter>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/Win32Memory.h"
#include "tools/ImageFiles.h"

namespace pictures {

namespace {

void makeParentFolder(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
}

}  // namespace

QImage filled(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

QImage keyedLeft(int width, int height, int keyColumns, QRgb key, QRgb body) {
  QImage image = filled(width, height, body);
  QPainter painter(&image);
  painter.fillRect(0, 0, keyColumns, height, QColor(key));
  return image;
}

void writePng(const std::string& path, const QImage& image) {
  makeParentFolder(path);
  demo::writePng(path, image, demo::PngFormat::kRgb8, 0);
}

void writeGreyPng(const std::string& path, std::uint32_t width, std::uint32_t height, int bitDepth,
                  unsigned level) {
  makeParentFolder(path);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  // Every pixel has the same value, so one row serves all.
  const std::size_t rowBytes = (std::size_t{width} * static_cast<unsigned>(bitDepth) + 7) / 8;
  std::vector<png_byte> row(rowBytes, 0);
  const int perByte = 8 / bitDepth;
  for (std::size_t i = 0; i < rowBytes; ++i) {
    unsigned byte = 0;
    for (int p = 0; p < perByte; ++p) byte = (byte << bitDepth) | level;
    row[i] = static_cast<png_byte>(byte);
  }
  // setjmp stands alone in its condition: inside a larger expression its result is undefined.
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    FAIL() << "libpng refused " << path;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, bitDepth, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < height; ++y) png_write_row(png, row.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

}  // namespace pictures

namespace rows {

std::string literal(const char* text) {
  if (text == nullptr) return "NULL";
  std::string quoted = "'";
  for (const char* c = text; *c != '\0'; ++c) quoted += *c == '\'' ? std::string("''") : std::string(1, *c);
  return quoted + "'";
}

std::string application(const std::string& systemId, const std::string& number, const std::string& iteration,
                        const std::string& make) {
  return "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CYPR_START, CYPR_END, CUCP, CUCP_VAL,"
         " ITER, UKLADY) VALUES (" +
         literal(systemId.c_str()) + ", " + literal(number.c_str()) + ", " + literal(make.c_str()) +
         ", 'M', 'Kombi', '2001-2005', '2001', '2005', '1.6', '1600', " + literal(iteration.c_str()) +
         ", 'PV');";
}

std::string part(const std::string& key, const std::string& systemId, const char* visible,
                 const std::string& picture, const char* x, const char* y, const char* w, const char* h) {
  return "INSERT INTO T_U (ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H) VALUES (" +
         literal(key.c_str()) + ", " + literal(systemId.c_str()) + ", NULL, " + literal(visible) + ", " +
         literal(picture.c_str()) + ", " + literal(x) + ", " + literal(y) + ", " + literal(w) + ", " +
         literal(h) + ");";
}

std::string part(const std::string& key, const std::string& systemId, const char* visible,
                 const std::string& picture, int x, int y, int w, int h) {
  return part(key, systemId, visible, picture, std::to_string(x).c_str(), std::to_string(y).c_str(),
              std::to_string(w).c_str(), std::to_string(h).c_str());
}

std::string element(const std::string& partKey, const std::string& picture, int x, int y, int w, int h) {
  return "INSERT INTO T_U_ELEMENT (ID_T_U, FA, FA_PIC, X, Y, W, H, ZWIELOKROTNIENIE) VALUES (" +
         literal(partKey.c_str()) + ", 'FA', " + literal(picture.c_str()) + ", '" + std::to_string(x) +
         "', '" + std::to_string(y) + "', '" + std::to_string(w) + "', '" + std::to_string(h) + "', '1');";
}

}  // namespace rows

namespace {

std::multiset<HGLOBAL> g_held;
int g_allocated = 0;
int g_pictureBlocks = 0;
int g_stray = 0;

bool countRequest(UINT flags, SIZE_T) {
  if ((flags & GMEM_ZEROINIT) != 0) ++g_pictureBlocks;
  return true;
}

void observeBlock(HGLOBAL block, bool released) {
  if (!released) {
    ++g_allocated;
    g_held.insert(block);
    return;
  }
  const auto it = g_held.find(block);
  if (it == g_held.end()) {
    ++g_stray;
  } else {
    g_held.erase(it);
  }
}

}  // namespace

GlobalBlockWatch::GlobalBlockWatch() {
  g_held.clear();
  g_allocated = 0;
  g_pictureBlocks = 0;
  g_stray = 0;
  platform::setGlobalAllocHook(countRequest);
  platform::setGlobalBlockObserver(observeBlock);
}

GlobalBlockWatch::~GlobalBlockWatch() {
  platform::setGlobalBlockObserver(nullptr);
  platform::setGlobalAllocHook(nullptr);
}

int GlobalBlockWatch::allocated() const { return g_allocated; }

int GlobalBlockWatch::pictureBlocks() const { return g_pictureBlocks; }

int GlobalBlockWatch::held() const { return static_cast<int>(g_held.size()); }

int GlobalBlockWatch::strayReleases() const { return g_stray; }
