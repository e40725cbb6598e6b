#include "db/support/SqlScript.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

void runScript(const std::string& path, const char* script) {
  sqlite3* db = nullptr;
  int result = sqlite3_open(path.c_str(), &db);
  char* error = nullptr;
  if (result == SQLITE_OK) result = sqlite3_exec(db, script, nullptr, nullptr, &error);
  EXPECT_EQ(result, SQLITE_OK) << (error ? error : sqlite3_errmsg(db));
  sqlite3_free(error);
  sqlite3_close(db);
}
