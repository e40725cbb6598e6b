#include "tools/support/ToolFiles.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>

ReadOnlyDb::ReadOnlyDb(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db_);
  }
}

ReadOnlyDb::~ReadOnlyDb() { sqlite3_close(db_); }

QueryResult ReadOnlyDb::query(const std::string& sql) const {
  QueryResult result;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    result.error = sqlite3_errmsg(db_);
    return result;
  }
  const int columns = sqlite3_column_count(statement);
  for (int c = 0; c < columns; ++c) result.columns.push_back(sqlite3_column_name(statement, c));
  int step = SQLITE_ROW;
  while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
    auto& row = result.rows.emplace_back();
    for (int c = 0; c < columns; ++c) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
      if (text == nullptr) {
        row.emplace_back();
      } else {
        row.emplace_back(std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, c))));
      }
    }
  }
  result.ok = step == SQLITE_DONE;
  if (!result.ok) result.error = sqlite3_errmsg(db_);
  sqlite3_finalize(statement);
  return result;
}

std::string ReadOnlyDb::value(const std::string& sql) const {
  const QueryResult result = query(sql);
  EXPECT_TRUE(result.ok) << sql << ": " << result.error;
  if (result.rows.empty() || !result.rows[0][0]) return "";
  return *result.rows[0][0];
}

PngPicture readPng(const std::string& path) {
  PngPicture picture;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return picture;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<unsigned char> pixels;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return PngPicture{};
  }
  png_init_io(png, file);
  png_read_info(png, info);
  picture.width = static_cast<int>(png_get_image_width(png, info));
  picture.height = static_cast<int>(png_get_image_height(png, info));
  picture.colourType = png_get_color_type(png, info);
  picture.bitDepth = png_get_bit_depth(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_read_update_info(png, info);
  pixels.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y)
    rows.push_back(&pixels[static_cast<std::size_t>(y) * picture.width * 3]);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height);
  for (std::size_t i = 0; i < picture.rgb.size(); ++i) {
    picture.rgb[i] =
        (std::uint32_t{pixels[3 * i]} << 16) | (std::uint32_t{pixels[3 * i + 1]} << 8) | pixels[3 * i + 2];
  }
  picture.ok = true;
  return picture;
}
