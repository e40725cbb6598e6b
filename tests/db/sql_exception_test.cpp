#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "db/SqlDb.h"

namespace {

struct CodeNameCase {
  const char* label;
  std::int32_t code;
  const char* name;
};

const CodeNameCase kCodeNames[] = {
    {"ok", 0, "SQLITE_OK"},
    {"error", 1, "SQLITE_ERROR"},
    {"internal", 2, "SQLITE_INTERNAL"},
    {"perm", 3, "SQLITE_PERM"},
    {"abort", 4, "SQLITE_ABORT"},
    {"busy", 5, "SQLITE_BUSY"},
    {"locked", 6, "SQLITE_LOCKED"},
    {"nomem", 7, "SQLITE_NOMEM"},
    {"readonly", 8, "SQLITE_READONLY"},
    {"interrupt", 9, "SQLITE_INTERRUPT"},
    {"ioerr", 10, "SQLITE_IOERR"},
    {"corrupt", 11, "SQLITE_CORRUPT"},
    {"notfound", 12, "SQLITE_NOTFOUND"},
    {"full", 13, "SQLITE_FULL"},
    {"cantopen", 14, "SQLITE_CANTOPEN"},
    {"protocol", 15, "SQLITE_PROTOCOL"},
    {"empty", 16, "SQLITE_EMPTY"},
    {"schema", 17, "SQLITE_SCHEMA"},
    {"toobig", 18, "SQLITE_TOOBIG"},
    {"constraint", 19, "SQLITE_CONSTRAINT"},
    {"mismatch", 20, "SQLITE_MISMATCH"},
    {"misuse", 21, "SQLITE_MISUSE"},
    {"nolfs", 22, "SQLITE_NOLFS"},
    {"auth", 23, "SQLITE_AUTH"},
    {"format", 24, "SQLITE_FORMAT"},
    {"range", 25, "SQLITE_RANGE"},
    {"row", 100, "SQLITE_ROW"},
    {"done", 101, "SQLITE_DONE"},
    {"layer's own", 1000, "SQLDB_ERROR"},
    {"just past range", 26, "UNKNOWN_ERROR"},
    {"notice", 27, "UNKNOWN_ERROR"},
    {"negative", -1, "UNKNOWN_ERROR"},
    {"between row codes and layer", 102, "UNKNOWN_ERROR"},
    {"below layer code", 999, "UNKNOWN_ERROR"},
    {"above layer code", 1001, "UNKNOWN_ERROR"},
    {"extended busy recovery", 261, "UNKNOWN_ERROR"},
    {"largest", INT32_MAX, "UNKNOWN_ERROR"},
    {"smallest", INT32_MIN, "UNKNOWN_ERROR"},
};

TEST(SqlExceptionTest, EveryCodeIsNamedAndFormattedAsNameCodeText) {
  for (const CodeNameCase& c : kCodeNames) {
    SCOPED_TRACE(c.label);
    EXPECT_STREQ(SqlException::errorCodeName(c.code), c.name);

    SqlException e(c.code, "some text", false);
    EXPECT_EQ(e.code, c.code);
    const std::string expected = std::string(c.name) + "[" + std::to_string(c.code) + "]: some text";
    ASSERT_NE(e.message, nullptr);
    EXPECT_STREQ(e.message, expected.c_str());
  }
}

TEST(SqlExceptionTest, UnknownCode26BeginsWithUnknownError) {
  SqlException e(26, "whatever", false);
  EXPECT_EQ(std::string(e.message).rfind("UNKNOWN_ERROR[26]: ", 0), 0u) << e.message;
}

TEST(SqlExceptionTest, NullTextEndsWithColonAndBlank) {
  SqlException e(SQLDB_ERROR, nullptr, false);
  EXPECT_STREQ(e.message, "SQLDB_ERROR[1000]: ");
}

TEST(SqlExceptionTest, NullTextWithFreeFlagIsAccepted) {
  SqlException e(1, nullptr, true);
  EXPECT_STREQ(e.message, "SQLITE_ERROR[1]: ");
}

// The text is formatted before it is released: a use after free or a leak shows under the sanitizers.
TEST(SqlExceptionTest, OwnedTextIsFormattedThenReleased) {
  char* text = sqlite3_mprintf("no such table: %s", "AUTA");
  SqlException e(1, text, true);
  EXPECT_STREQ(e.message, "SQLITE_ERROR[1]: no such table: AUTA");
}

TEST(SqlExceptionTest, BorrowedTextIsLeftToTheCaller) {
  char text[] = "unable to open database file";
  {
    SqlException e(14, text, false);
    EXPECT_STREQ(e.message, "SQLITE_CANTOPEN[14]: unable to open database file");
  }
  EXPECT_STREQ(text, "unable to open database file");
}

TEST(SqlExceptionTest, TextIsCopiedNotReferenced) {
  char text[] = "original";
  SqlException e(1, text, false);
  text[0] = 'X';
  EXPECT_STREQ(e.message, "SQLITE_ERROR[1]: original");
}

TEST(SqlExceptionTest, CopyOutlivesItsSource) {
  auto source = std::make_unique<SqlException>(5, "database is locked", false);
  SqlException copy(*source);
  EXPECT_NE(copy.message, source->message);
  source.reset();
  EXPECT_EQ(copy.code, 5);
  EXPECT_STREQ(copy.message, "SQLITE_BUSY[5]: database is locked");
}

TEST(SqlExceptionTest, CopyAssignmentGivesEachObjectItsOwnMessage) {
  SqlException target(1, "old", false);
  {
    SqlException source(1000, "Database not open", false);
    target = source;
    EXPECT_NE(target.message, source.message);
  }
  EXPECT_EQ(target.code, 1000);
  EXPECT_STREQ(target.message, "SQLDB_ERROR[1000]: Database not open");
}

TEST(SqlExceptionTest, SelfAssignmentKeepsTheMessage) {
  SqlException e(1, "near \"selec\": syntax error", false);
  SqlException& alias = e;
  e = alias;
  EXPECT_STREQ(e.message, "SQLITE_ERROR[1]: near \"selec\": syntax error");
}

// The thrown object is a copy of the local, which unwinding destroys before the handler reads it.
TEST(SqlExceptionTest, ThrownCopyOutlivesTheLocalItWasMadeFrom) {
  std::string seen;
  try {
    SqlException local(1000, "Invalid row index requested", false);
    throw local;
  } catch (const SqlException& caught) {
    seen = caught.message;
  }
  EXPECT_EQ(seen, "SQLDB_ERROR[1000]: Invalid row index requested");
}

}  // namespace
