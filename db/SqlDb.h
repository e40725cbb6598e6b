// Database access over SQLite 3: the catalogue reaches its database only through these classes.
//
//   SqlDb         one connection; opened once with a 60,000 ms busy time-out, closed by close() or
//                 the destructor. Every query is one SQL text that queryTable() runs to completion.
//   SqlTable      the complete result of one query, held in memory as text. Walk it with rowCount(),
//                 selectRow() and valueAt().
//   SqlException  the only error type of this layer: a result code (SQLite's, or SQLDB_ERROR for the
//                 layer's own checks) and the message "NAME[code]: text".
//
// Ownership and lifetime:
//   - A table owns its result array and frees it exactly once, when it is released or destroyed. A
//     table is never copied, only moved; a moved-from table holds no results.
//   - The pointers that valueAt() returns point into the table's result array: they stay valid while
//     the table lives and must not be freed. Copy every value you keep before the table dies.
//   - An exception owns its message; every copy owns a duplicate of its own.
//   - The connection owns its handle.
//
// Every failure leaves the layer as a SqlException thrown by value; catch it by reference. Objects stay
// usable after a failure: a failed query leaves the connection open, a failed selectRow() leaves the
// current row unchanged. Single-threaded use only.

#ifndef CATALOG_DB_SQLDB_H_
#define CATALOG_DB_SQLDB_H_

#include <cstdint>

struct sqlite3;

// The code of the layer's own errors (closed connection, bad index, released table), beside
// SQLite's own result codes.
constexpr std::int32_t SQLDB_ERROR = 1000;

class SqlException {
 public:
  // Formats the message from the code's name, the code and the text (a null text counts as ""). When
  // freeText is set, the text came from sqlite3_malloc and is released here after formatting.
  SqlException(std::int32_t code, const char* text, bool freeText);
  SqlException(const SqlException& other);
  SqlException& operator=(const SqlException& other);
  virtual ~SqlException();

  // The symbolic name of a result code; "UNKNOWN_ERROR" for codes outside the known set. Never null.
  static const char* errorCodeName(std::int32_t code);

  std::int32_t code = 0;
  // Owned; allocated with sqlite3_mprintf. Null only when SQLite could not allocate it.
  char* message = nullptr;
};

class SqlTable {
 public:
  SqlTable(const SqlTable&) = delete;
  SqlTable& operator=(const SqlTable&) = delete;
  SqlTable(SqlTable&& other) noexcept;
  SqlTable& operator=(SqlTable&& other) noexcept;
  virtual ~SqlTable();

  // Frees the result array; every later access throws "Null Results pointer".
  void release();

  // The number of data rows; the header row of column names is not counted.
  std::int32_t rowCount() const;
  // Makes `row` (from 0) the current row. A row outside 0 to rowCount() - 1 throws and leaves the
  // current row as it was.
  void selectRow(std::int32_t row);
  // The text of `column` (from 0) in the current row, or null for SQL NULL. Row 0 is current until
  // selectRow() is called. A result without data rows has no row 0: reading it throws "Invalid row
  // index requested" rather than reading past the header row.
  const char* valueAt(std::int32_t column) const;

  void requireResults() const;

 private:
  friend class SqlDb;

  // Takes ownership of an array as sqlite3_get_table returns it: the header row, then the data rows.
  SqlTable(char** results, std::int32_t rows, std::int32_t columns);

  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t currentRow = 0;
  char** results = nullptr;
};

class SqlDb {
 public:
  SqlDb() = default;
  SqlDb(const SqlDb&) = delete;
  SqlDb& operator=(const SqlDb&) = delete;
  virtual ~SqlDb();

  // Opens (or, as SQLite does, creates) the database file. The busy time-out is applied only after a
  // successful open. On failure the handle SQLite left behind stays until close() or destruction.
  // Opening an open connection closes it first, so that no handle is ever lost.
  void open(const char* fileName);
  // Closing a closed connection does nothing.
  void close();
  // Runs one SQL statement and returns its whole result.
  SqlTable queryTable(const char* sql);
  // Stores the time-out for later opens and applies it to the current handle.
  void applyBusyTimeout(std::int32_t milliseconds);

  void requireOpen() const;

 private:
  sqlite3* handle = nullptr;
  std::int32_t busyTimeoutMs = 60000;
};

#endif  // CATALOG_DB_SQLDB_H_
