// Test helpers for the database classes: a private temporary folder that is removed with everything
// in it, and a way to build a fixture database in it with SQLite directly, beside the classes under
// test, so that a fault in them cannot hide a fault in the fixture.

#ifndef CATALOG_TESTS_DB_SUPPORT_TEMPFOLDER_H_
#define CATALOG_TESTS_DB_SUPPORT_TEMPFOLDER_H_

#include <string>

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Creates (or extends) the database at `path` by running `script`; fails the current test on an error.
void runScript(const std::string& path, const char* script);

#endif  // CATALOG_TESTS_DB_SUPPORT_TEMPFOLDER_H_
