#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "db/SqlDb.h"
#include "db/support/SqlScript.h"

namespace {

static_assert(!std::is_copy_constructible_v<SqlTable>, "a table owns its results and is never copied");
static_assert(!std::is_copy_assignable_v<SqlTable>, "a table owns its results and is never copied");
static_assert(std::is_nothrow_move_constructible_v<SqlTable>, "queryTable hands the table on by moving");

constexpr const char kPartsQuery[] = "select NR, KIND, QTY from PARTS order by rowid;";
constexpr const char kNoRowsQuery[] = "select NR, KIND, QTY from PARTS where QTY > 100;";

// Three data rows of three columns; row 1 holds an SQL NULL, row 2 an empty text and bytes of the
// Polish code page (0xA3 is a capital L with stroke in windows-1250).
class SqlTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = folder.file("parts.db");
    runScript(path,
              "create table PARTS(NR text, KIND text, QTY integer);"
              "insert into PARTS values('100-1', 'Mittelschalldaempfer', 2);"
              "insert into PARTS values('100-2', NULL, 1);"
              "insert into PARTS values('', CAST(X'A3C4B9' AS TEXT), 3);");
    db.open(path.c_str());
  }

  void expectLayerError(const SqlException& e, const char* text) {
    EXPECT_EQ(e.code, 1000);
    EXPECT_EQ(std::string(e.message), std::string("SQLDB_ERROR[1000]: ") + text);
  }

  TempFolder folder;
  SqlDb db;
};

TEST_F(SqlTableTest, RowCountLeavesOutTheHeaderRow) {
  SqlTable table = db.queryTable(kPartsQuery);
  EXPECT_EQ(table.rowCount(), 3);
}

TEST_F(SqlTableTest, WalkingAllRowsReadsEveryValueInOrderAndNeverAColumnName) {
  SqlTable table = db.queryTable(kPartsQuery);
  std::vector<std::string> seen;
  for (int r = 0; r < table.rowCount(); ++r) {
    table.selectRow(r);
    for (int c = 0; c < 3; ++c) {
      const char* value = table.valueAt(c);
      seen.push_back(value ? value : "<null>");
    }
  }
  const std::vector<std::string> expected = {
      "100-1", "Mittelschalldaempfer", "2", "100-2", "<null>", "1", "", "\xA3\xC4\xB9", "3",
  };
  EXPECT_EQ(seen, expected);
}

TEST_F(SqlTableTest, ReadingBeforeAnyRowIsSelectedReadsRowZero) {
  SqlTable table = db.queryTable(kPartsQuery);
  EXPECT_STREQ(table.valueAt(0), "100-1");
  EXPECT_STREQ(table.valueAt(2), "2");
}

TEST_F(SqlTableTest, SqlNullIsANullPointerAndEmptyTextIsNot) {
  SqlTable table = db.queryTable(kPartsQuery);
  table.selectRow(1);
  EXPECT_EQ(table.valueAt(1), nullptr);
  table.selectRow(2);
  ASSERT_NE(table.valueAt(0), nullptr);
  EXPECT_STREQ(table.valueAt(0), "");
}

TEST_F(SqlTableTest, ResultWithoutRowsReadsNothing) {
  SqlTable table = db.queryTable(kNoRowsQuery);
  EXPECT_EQ(table.rowCount(), 0);
  int visited = 0;
  for (int r = 0; r < table.rowCount(); ++r) ++visited;
  EXPECT_EQ(visited, 0);
  try {
    table.selectRow(0);
    FAIL() << "selecting row 0 of an empty result must throw";
  } catch (const SqlException& e) {
    expectLayerError(e, "Invalid row index requested");
  }
}

// With empty_result_callbacks SQLite hands back the header row alone; reading "row 0" must not run
// past the end of the array.
TEST_F(SqlTableTest, ValueOfAnEmptyResultWithHeaderThrowsInsteadOfReadingPastTheEnd) {
  db.queryTable("PRAGMA empty_result_callbacks = ON;");
  SqlTable table = db.queryTable(kNoRowsQuery);
  EXPECT_EQ(table.rowCount(), 0);
  try {
    table.valueAt(0);
    FAIL() << "no data row to read";
  } catch (const SqlException& e) {
    expectLayerError(e, "Invalid row index requested");
  }
}

struct IndexCase {
  const char* label;
  std::int32_t index;
};

TEST_F(SqlTableTest, RowIndexOutsideTheRowsThrowsAndKeepsTheCurrentRow) {
  const IndexCase cases[] = {
      {"minus one", -1},
      {"row count", 3},
      {"far past the end", INT32_MAX},
      {"most negative", INT32_MIN},
  };
  SqlTable table = db.queryTable(kPartsQuery);
  table.selectRow(1);
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(c.label);
    try {
      table.selectRow(c.index);
      ADD_FAILURE() << "row " << c.index << " accepted";
    } catch (const SqlException& e) {
      expectLayerError(e, "Invalid row index requested");
    }
    EXPECT_STREQ(table.valueAt(0), "100-2");
  }
}

TEST_F(SqlTableTest, ColumnIndexOutsideTheColumnsThrowsAndTheTableStaysUsable) {
  const IndexCase cases[] = {
      {"minus one", -1},
      {"column count", 3},
      {"far past the end", INT32_MAX},
      {"most negative", INT32_MIN},
  };
  SqlTable table = db.queryTable(kPartsQuery);
  table.selectRow(2);
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(c.label);
    try {
      table.valueAt(c.index);
      ADD_FAILURE() << "column " << c.index << " accepted";
    } catch (const SqlException& e) {
      expectLayerError(e, "Invalid field index requested");
    }
    EXPECT_STREQ(table.valueAt(2), "3");
  }
}

TEST_F(SqlTableTest, LastRowAndLastColumnAreInRange) {
  SqlTable table = db.queryTable(kPartsQuery);
  table.selectRow(table.rowCount() - 1);
  EXPECT_STREQ(table.valueAt(2), "3");
}

// The released-table check runs before the index checks, so even a bad index reports the release.
TEST_F(SqlTableTest, EveryAccessToAReleasedTableThrowsNullResults) {
  struct Access {
    const char* label;
    void (*run)(SqlTable&);
  };
  const Access accesses[] = {
      {"rowCount", [](SqlTable& t) { t.rowCount(); }},
      {"selectRow in range", [](SqlTable& t) { t.selectRow(0); }},
      {"selectRow out of range", [](SqlTable& t) { t.selectRow(-1); }},
      {"valueAt in range", [](SqlTable& t) { t.valueAt(0); }},
      {"valueAt out of range", [](SqlTable& t) { t.valueAt(99); }},
      {"requireResults", [](SqlTable& t) { t.requireResults(); }},
  };
  SqlTable table = db.queryTable(kPartsQuery);
  table.release();
  table.release();
  for (const Access& a : accesses) {
    SCOPED_TRACE(a.label);
    try {
      a.run(table);
      ADD_FAILURE() << "released table accepted " << a.label;
    } catch (const SqlException& e) {
      expectLayerError(e, "Null Results pointer");
    }
  }
}

TEST_F(SqlTableTest, MovingHandsTheResultsOnAndLeavesTheSourceEmpty) {
  SqlTable source = db.queryTable(kPartsQuery);
  source.selectRow(2);
  SqlTable moved(std::move(source));
  EXPECT_EQ(moved.rowCount(), 3);
  EXPECT_STREQ(moved.valueAt(2), "3");
  EXPECT_THROW(source.rowCount(), SqlException);  // NOLINT(bugprone-use-after-move)
}

TEST_F(SqlTableTest, MoveAssignmentReleasesTheFormerResultsAndTakesTheNewOnes) {
  SqlTable target = db.queryTable(kNoRowsQuery);
  SqlTable source = db.queryTable(kPartsQuery);
  target = std::move(source);
  EXPECT_EQ(target.rowCount(), 3);
  EXPECT_STREQ(target.valueAt(0), "100-1");
  EXPECT_THROW(source.rowCount(), SqlException);  // NOLINT(bugprone-use-after-move)

  SqlTable& alias = target;
  target = std::move(alias);
  EXPECT_EQ(target.rowCount(), 3);
}

TEST_F(SqlTableTest, ValuesStayValidAfterTheConnectionIsClosed) {
  SqlTable table = db.queryTable(kPartsQuery);
  db.close();
  table.selectRow(2);
  EXPECT_STREQ(table.valueAt(1), "\xA3\xC4\xB9");
}

}  // namespace
