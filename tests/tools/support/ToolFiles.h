// Test helpers for the demo generator: a private temporary folder, and readers for what the
// generator writes (SQLite rows, PNG pictures, raw bytes) built on the libraries directly, so that
// a fault in the generator's writers cannot hide behind the same code reading them back.

#ifndef CATALOG_TESTS_TOOLS_SUPPORT_TOOLFILES_H_
#define CATALOG_TESTS_TOOLS_SUPPORT_TOOLFILES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/FileBytes.h"
#include "common/TempFolder.h"

struct sqlite3;

// The complete result of one query; NULL values are empty optionals.
struct QueryResult {
  bool ok = false;
  std::string error;
  std::vector<std::string> columns;
  std::vector<std::vector<std::optional<std::string>>> rows;
};

// A read-only connection, closed with the object.
class ReadOnlyDb {
 public:
  explicit ReadOnlyDb(const std::string& path);
  ReadOnlyDb(const ReadOnlyDb&) = delete;
  ReadOnlyDb& operator=(const ReadOnlyDb&) = delete;
  ~ReadOnlyDb();

  QueryResult query(const std::string& sql) const;
  // The first column of the first row, "" when there is none; fails the test on an error.
  std::string value(const std::string& sql) const;

 private:
  sqlite3* db_ = nullptr;
};

struct PngPicture {
  bool ok = false;
  int width = 0;
  int height = 0;
  int colourType = -1;
  int bitDepth = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB a pixel, top row first, alpha ignored

  std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};
PngPicture readPng(const std::string& path);

#endif  // CATALOG_TESTS_TOOLS_SUPPORT_TOOLFILES_H_
