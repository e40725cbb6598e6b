#include "db/SqlDb.h"

#include <sqlite3.h>

#include <cstddef>
#include <utility>

namespace {

constexpr const char kDatabaseNotOpen[] = "Database not open";
constexpr const char kNullResults[] = "Null Results pointer";
constexpr const char kInvalidRow[] = "Invalid row index requested";
constexpr const char kInvalidField[] = "Invalid field index requested";

[[noreturn]] void throwLayerError(const char* text) { throw SqlException(SQLDB_ERROR, text, false); }

}  // namespace

// ---------------------------------------------------------------------------------------------------
// SqlException

SqlException::SqlException(std::int32_t code, const char* text, bool freeText) : code(code) {
  message = sqlite3_mprintf("%s[%d]: %s", errorCodeName(code), static_cast<int>(code), text ? text : "");
  if (freeText && text) sqlite3_free(const_cast<char*>(text));
}

SqlException::SqlException(const SqlException& other) : code(other.code) {
  message = other.message ? sqlite3_mprintf("%s", other.message) : nullptr;
}

SqlException& SqlException::operator=(const SqlException& other) {
  if (this == &other) return *this;
  char* duplicate = other.message ? sqlite3_mprintf("%s", other.message) : nullptr;
  sqlite3_free(message);
  code = other.code;
  message = duplicate;
  return *this;
}

SqlException::~SqlException() {
  if (message) {
    sqlite3_free(message);
    message = nullptr;
  }
}

const char* SqlException::errorCodeName(std::int32_t code) {
  // SQLite's primary result codes run without a gap from 0 to 25.
  static const char* const kPrimaryNames[] = {
      "SQLITE_OK",       "SQLITE_ERROR",   "SQLITE_INTERNAL", "SQLITE_PERM",     "SQLITE_ABORT",
      "SQLITE_BUSY",     "SQLITE_LOCKED",  "SQLITE_NOMEM",    "SQLITE_READONLY", "SQLITE_INTERRUPT",
      "SQLITE_IOERR",    "SQLITE_CORRUPT", "SQLITE_NOTFOUND", "SQLITE_FULL",     "SQLITE_CANTOPEN",
      "SQLITE_PROTOCOL", "SQLITE_EMPTY",   "SQLITE_SCHEMA",   "SQLITE_TOOBIG",   "SQLITE_CONSTRAINT",
      "SQLITE_MISMATCH", "SQLITE_MISUSE",  "SQLITE_NOLFS",    "SQLITE_AUTH",     "SQLITE_FORMAT",
      "SQLITE_RANGE",
  };
  constexpr std::int32_t kPrimaryCount =
      static_cast<std::int32_t>(sizeof(kPrimaryNames) / sizeof(kPrimaryNames[0]));

  if (code >= 0 && code < kPrimaryCount) return kPrimaryNames[code];
  switch (code) {
    case 100:
      return "SQLITE_ROW";
    case 101:
      return "SQLITE_DONE";
    case SQLDB_ERROR:
      return "SQLDB_ERROR";
    default:
      return "UNKNOWN_ERROR";
  }
}

// ---------------------------------------------------------------------------------------------------
// SqlTable

SqlTable::SqlTable(char** results, std::int32_t rows, std::int32_t columns)
    : columns(columns), rows(rows), currentRow(0), results(results) {}

SqlTable::SqlTable(SqlTable&& other) noexcept
    : columns(other.columns), rows(other.rows), currentRow(other.currentRow), results(other.results) {
  other.results = nullptr;
  other.columns = 0;
  other.rows = 0;
  other.currentRow = 0;
}

SqlTable& SqlTable::operator=(SqlTable&& other) noexcept {
  if (this == &other) return *this;
  release();
  columns = std::exchange(other.columns, 0);
  rows = std::exchange(other.rows, 0);
  currentRow = std::exchange(other.currentRow, 0);
  results = std::exchange(other.results, nullptr);
  return *this;
}

SqlTable::~SqlTable() {
  try {
    release();
  } catch (...) {
    // A destructor must never throw; there is nothing useful to do with a failure here.
  }
}

void SqlTable::release() {
  if (results) {
    sqlite3_free_table(results);
    results = nullptr;
  }
}

void SqlTable::requireResults() const {
  if (!results) throwLayerError(kNullResults);
}

std::int32_t SqlTable::rowCount() const {
  requireResults();
  return rows;
}

void SqlTable::selectRow(std::int32_t row) {
  requireResults();
  if (row < 0 || row > rows - 1) throwLayerError(kInvalidRow);
  currentRow = row;
}

const char* SqlTable::valueAt(std::int32_t column) const {
  requireResults();
  if (column < 0 || column > columns - 1) throwLayerError(kInvalidField);
  // A result without data rows can still carry a header row (SQLite's empty_result_callbacks);
  // row 0 is then not there to read.
  if (currentRow >= rows) throwLayerError(kInvalidRow);

  // The header row of column names stands in front of the data rows.
  const std::size_t width = static_cast<std::size_t>(columns);
  const std::size_t index =
      (static_cast<std::size_t>(currentRow) + 1) * width + static_cast<std::size_t>(column);
  return results[index];
}

// ---------------------------------------------------------------------------------------------------
// SqlDb

SqlDb::~SqlDb() { close(); }

void SqlDb::open(const char* fileName) {
  // A second open would otherwise leak the earlier handle, including one left by a failed open.
  close();

  const int result = sqlite3_open(fileName, &handle);
  if (result != SQLITE_OK) throw SqlException(result, sqlite3_errmsg(handle), false);
  applyBusyTimeout(busyTimeoutMs);
}

void SqlDb::close() {
  if (handle) {
    sqlite3_close(handle);
    handle = nullptr;
  }
}

SqlTable SqlDb::queryTable(const char* sql) {
  requireOpen();

  char** results = nullptr;
  int rows = 0;
  int columns = 0;
  char* errorText = nullptr;
  const int result = sqlite3_get_table(handle, sql, &results, &rows, &columns, &errorText);
  if (result != SQLITE_OK) throw SqlException(result, errorText, true);
  return SqlTable(results, rows, columns);
}

void SqlDb::applyBusyTimeout(std::int32_t milliseconds) {
  busyTimeoutMs = milliseconds;
  // SQLite does not accept a null connection here; a closed connection gets the value at its next open.
  if (handle) sqlite3_busy_timeout(handle, milliseconds);
}

void SqlDb::requireOpen() const {
  if (!handle) throwLayerError(kDatabaseNotOpen);
}
