#include "db/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <vector>

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "catalog_db_test.XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) {
    ADD_FAILURE() << "mkdtemp failed for " << pattern;
    return;
  }
  path_ = buffer.data();
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void runScript(const std::string& path, const char* script) {
  sqlite3* db = nullptr;
  int result = sqlite3_open(path.c_str(), &db);
  char* error = nullptr;
  if (result == SQLITE_OK) result = sqlite3_exec(db, script, nullptr, nullptr, &error);
  EXPECT_EQ(result, SQLITE_OK) << (error ? error : sqlite3_errmsg(db));
  sqlite3_free(error);
  sqlite3_close(db);
}
