// Test helpers for the database classes: a way to build a fixture database in a temporary folder
// with SQLite directly, beside the classes under test, so that a fault in them cannot hide a fault
// in the fixture.

#ifndef CATALOG_TESTS_DB_SUPPORT_SQLSCRIPT_H_
#define CATALOG_TESTS_DB_SUPPORT_SQLSCRIPT_H_

#include <string>

#include "common/TempFolder.h"

// Creates (or extends) the database at `path` by running `script`; fails the current test on an error.
void runScript(const std::string& path, const char* script);

#endif  // CATALOG_TESTS_DB_SUPPORT_SQLSCRIPT_H_
