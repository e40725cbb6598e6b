#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>

#include "db/SqlDb.h"
#include "db/support/SqlScript.h"

namespace {

class SqlDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = folder.file("catalog.db");
    runScript(path,
              "create table AUTA(MKNM text);"
              "insert into AUTA values('AUDI');"
              "insert into AUTA values('OPEL');");
  }

  static std::string firstValue(SqlDb& db, const char* sql) {
    SqlTable table = db.queryTable(sql);
    table.selectRow(0);
    const char* value = table.valueAt(0);
    return value ? value : "<null>";
  }

  static std::string makes(SqlDb& db) {
    SqlTable table = db.queryTable("select MKNM from AUTA order by MKNM ASC;");
    std::string joined;
    for (int r = 0; r < table.rowCount(); ++r) {
      table.selectRow(r);
      joined += std::string(joined.empty() ? "" : ",") + table.valueAt(0);
    }
    return joined;
  }

  static void expectNotOpen(SqlDb& db) {
    try {
      db.queryTable("select 1;");
      ADD_FAILURE() << "query on a closed connection ran";
    } catch (const SqlException& e) {
      EXPECT_EQ(e.code, 1000);
      EXPECT_STREQ(e.message, "SQLDB_ERROR[1000]: Database not open");
    }
  }

  TempFolder folder;
  std::string path;
};

TEST_F(SqlDbTest, OpenedConnectionRunsAQuery) {
  SqlDb db;
  db.open(path.c_str());
  EXPECT_EQ(makes(db), "AUDI,OPEL");
}

TEST_F(SqlDbTest, QueryBeforeOpenThrowsDatabaseNotOpen) {
  SqlDb db;
  expectNotOpen(db);
}

TEST_F(SqlDbTest, QueryAfterCloseThrowsDatabaseNotOpen) {
  SqlDb db;
  db.open(path.c_str());
  db.close();
  expectNotOpen(db);
}

TEST_F(SqlDbTest, ClosingTwiceAndDestroyingAClosedConnectionDoNothing) {
  auto db = std::make_unique<SqlDb>();
  db->close();
  db->open(path.c_str());
  db->close();
  db->close();
  expectNotOpen(*db);
  db.reset();
}

TEST_F(SqlDbTest, DestroyingAnOpenConnectionClosesIt) {
  {
    SqlDb db;
    db.open(path.c_str());
    db.queryTable("select MKNM from AUTA;");
  }
  // A connection left open shows as a leak under the sanitizers; the file is free for a writer.
  runScript(path, "insert into AUTA values('SEAT');");
}

TEST_F(SqlDbTest, ConnectionCanBeOpenedAgainAfterClose) {
  SqlDb db;
  db.open(path.c_str());
  db.close();
  db.open(path.c_str());
  EXPECT_EQ(makes(db), "AUDI,OPEL");
}

TEST_F(SqlDbTest, OpeningAnOpenConnectionAgainSwitchesToTheNewFile) {
  const std::string other = folder.file("other.db");
  runScript(other, "create table AUTA(MKNM text); insert into AUTA values('SKODA');");
  SqlDb db;
  db.open(path.c_str());
  db.open(other.c_str());
  EXPECT_EQ(makes(db), "SKODA");
}

TEST_F(SqlDbTest, OpeningAMissingFileCreatesAnEmptyDatabase) {
  const std::string missing = folder.file("veldo28.bgp");
  SqlDb db;
  db.open(missing.c_str());
  EXPECT_TRUE(std::filesystem::exists(missing));
  try {
    db.queryTable("select distinct MKNM from AUTA order by MKNM ASC;");
    FAIL() << "the new database has no tables";
  } catch (const SqlException& e) {
    EXPECT_STREQ(e.message, "SQLITE_ERROR[1]: no such table: AUTA");
  }
}

TEST_F(SqlDbTest, BusyTimeOutIsOneMinuteAfterOpen) {
  SqlDb db;
  db.open(path.c_str());
  EXPECT_EQ(firstValue(db, "PRAGMA busy_timeout;"), "60000");
}

TEST_F(SqlDbTest, AppliedBusyTimeOutTakesEffectAndIsKeptForTheNextOpen) {
  SqlDb db;
  db.open(path.c_str());
  db.applyBusyTimeout(2500);
  EXPECT_EQ(firstValue(db, "PRAGMA busy_timeout;"), "2500");
  db.close();
  db.open(path.c_str());
  EXPECT_EQ(firstValue(db, "PRAGMA busy_timeout;"), "2500");
}

TEST_F(SqlDbTest, BusyTimeOutSetWhileClosedIsAppliedAtOpen) {
  SqlDb db;
  db.applyBusyTimeout(750);
  db.open(path.c_str());
  EXPECT_EQ(firstValue(db, "PRAGMA busy_timeout;"), "750");
}

struct FailedQueryCase {
  const char* label;
  const char* sql;
  std::int32_t code;
  const char* message;
};

TEST_F(SqlDbTest, FailedQueryReportsSqliteCodeAndTextAndLeavesTheConnectionUsable) {
  const FailedQueryCase cases[] = {
      {"syntax error", "selec MKNM from AUTA;", 1, "SQLITE_ERROR[1]: near \"selec\": syntax error"},
      {"missing table", "select * from T_U;", 1, "SQLITE_ERROR[1]: no such table: T_U"},
      {"missing column", "select ID_UKLAD from AUTA;", 1, "SQLITE_ERROR[1]: no such column: ID_UKLAD"},
      {"unterminated text", "select * from AUTA where MKNM = 'AUDI;", 1,
       "SQLITE_ERROR[1]: unrecognized token: \"'AUDI;\""},
  };
  SqlDb db;
  db.open(path.c_str());
  for (const FailedQueryCase& c : cases) {
    SCOPED_TRACE(c.label);
    try {
      db.queryTable(c.sql);
      ADD_FAILURE() << "query accepted: " << c.sql;
    } catch (const SqlException& e) {
      EXPECT_EQ(e.code, c.code);
      EXPECT_STREQ(e.message, c.message);
    }
    EXPECT_EQ(makes(db), "AUDI,OPEL");
  }
}

// Another process holding the file exclusively; with no time-out left the query fails at once.
TEST_F(SqlDbTest, LockedDatabaseReportsBusyAndRecoversWhenTheLockGoes) {
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "begin exclusive;", nullptr, nullptr, nullptr), SQLITE_OK);

  SqlDb db;
  db.open(path.c_str());
  db.applyBusyTimeout(0);
  try {
    db.queryTable("select MKNM from AUTA;");
    ADD_FAILURE() << "query ran past an exclusive lock";
  } catch (const SqlException& e) {
    EXPECT_EQ(e.code, SQLITE_BUSY);
    EXPECT_STREQ(e.message, "SQLITE_BUSY[5]: database is locked");
  }

  sqlite3_exec(holder, "commit;", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  EXPECT_EQ(makes(db), "AUDI,OPEL");
}

TEST_F(SqlDbTest, OpenFailureThrowsSqliteCodeAndText) {
  SqlDb db;
  try {
    db.open(folder.path().c_str());
    FAIL() << "a folder opened as a database";
  } catch (const SqlException& e) {
    EXPECT_EQ(e.code, SQLITE_CANTOPEN);
    EXPECT_STREQ(e.message, "SQLITE_CANTOPEN[14]: unable to open database file");
  }
}

// SQLite leaves a connection object behind on a failed open; it must be closed exactly once later,
// whichever way the connection ends. Leaks and double closes show under the sanitizers.
TEST_F(SqlDbTest, HandleLeftByAFailedOpenIsClosedLater) {
  {
    SqlDb db;
    EXPECT_THROW(db.open(folder.path().c_str()), SqlException);
    db.close();
    expectNotOpen(db);
  }
  {
    SqlDb db;
    EXPECT_THROW(db.open(folder.path().c_str()), SqlException);
    EXPECT_THROW(db.queryTable("select 1;"), SqlException);
  }
  {
    SqlDb db;
    EXPECT_THROW(db.open(folder.path().c_str()), SqlException);
    db.open(path.c_str());
    EXPECT_EQ(makes(db), "AUDI,OPEL");
  }
}

}  // namespace
