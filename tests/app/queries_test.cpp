#include "app/Queries.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTemporaryDir>
#include <cctype>
#include <string>
#include <vector>

#include "db/SqlDb.h"

namespace {

// ---------------------------------------------------------------------------------------------
// The texts, byte for byte

struct QueryCase {
  const char* label;
  AnsiString actual;
  const char* expected;
};

#if CATALOG_POLISH
constexpr const char kExpectedDetailsParts[] =
    "SELECT T_U.VISIBLE AS VISIBLE, T_U.ID_KEY AS ID_KEY, ID_TLUMIK, VELDO_PIC_GRAFOS, TLUMIK.VELDO AS "
    "VELDO, X, "
    "Y, W, H, TLUMIK_KIND.NAME_PL AS NAME, AUTA.VELDO AS VEL FROM T_U LEFT JOIN AUTA ON T_U.ID_UKLAD = "
    "AUTA.ID_UKLAD LEFT JOIN TLUMIK ON T_U.ID_TLUMIK = TLUMIK.ID_KEY LEFT JOIN TLUMIK_KIND ON "
    "TLUMIK.ID_TLUMIK_KIND = TLUMIK_KIND.ID_KEY WHERE T_U.ID_UKLAD = '4711' AND AUTA.ITER = '2';";
#else
constexpr const char kExpectedDetailsParts[] =
    "SELECT T_U.VISIBLE AS VISIBLE, T_U.ID_KEY AS ID_KEY, ID_TLUMIK, VELDO_PIC_GRAFOS, TLUMIK.VELDO AS "
    "VELDO, X, "
    "Y, W, H, TLUMIK_KIND.NAME_DE AS NAME, AUTA.VELDO AS VEL FROM T_U LEFT JOIN AUTA ON T_U.ID_UKLAD = "
    "AUTA.ID_UKLAD LEFT JOIN TLUMIK ON T_U.ID_TLUMIK = TLUMIK.ID_KEY LEFT JOIN TLUMIK_KIND ON "
    "TLUMIK.ID_TLUMIK_KIND = TLUMIK_KIND.ID_KEY WHERE T_U.ID_UKLAD = '4711' AND AUTA.ITER = '2';";
#endif

TEST(QueryTextTest, EveryQueryIsItsTemplateWithTheValuesInPlace) {
  const QueryCase cases[] = {
      {"make list", makeListQuery(), "select distinct MKNM from AUTA order by MKNM ASC;"},
      {"model list", modelListQuery("AUDI"),
       "select distinct TYSP from AUTA WHERE MKNM = 'AUDI' order by TYSP ASC;"},
      {"year list: the empty third placeholder leaves two blanks", yearListQuery("AUDI", "A4"),
       "select CYPR_START, CYPR_END from AUTA WHERE MKNM = 'AUDI' AND TYSP = 'A4'  order by ID_UKLAD ASC;"},
      {"capacity list", capacityListQuery("AUDI", "A4"),
       "select DISTINCT CUCP_VAL from AUTA WHERE MKNM = 'AUDI' AND TYSP = 'A4'  order by CUCP_VAL ASC;"},
      {"selection without clauses: five blanks before ORDER BY",
       selectionQuery("AUDI", "A4", SqlClause(), SqlClause(), SqlClause(), SqlClause()),
       "SELECT ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CUCP, CUCP_VAL, MCAT, MDIE, ITER, ADDI FROM AUTA "
       "WHERE "
       "MKNM = 'AUDI' AND TYSP = 'A4'     ORDER BY CUCP_VAL, MDCA, MCAT, MDIE ASC;"},
      {"selection with every clause, capacity, diesel, year, catalyst",
       selectionQuery("AUDI", "A4", capacityClause("1781"), dieselClause(), yearClause("1998"),
                      catalystClause()),
       "SELECT ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CUCP, CUCP_VAL, MCAT, MDIE, ITER, ADDI FROM AUTA "
       "WHERE "
       "MKNM = 'AUDI' AND TYSP = 'A4' AND CUCP_VAL = '1781' AND MDIE = 'Diesel' AND (CYPR_START <= '1998' "
       "AND "
       "CYPR_END >= '1998') AND MCAT = 'CAT' ORDER BY CUCP_VAL, MDCA, MCAT, MDIE ASC;"},
      {"selection with the year alone keeps the other blanks",
       selectionQuery("AUDI", "A4", SqlClause(), SqlClause(), yearClause("2001"), SqlClause()),
       "SELECT ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CUCP, CUCP_VAL, MCAT, MDIE, ITER, ADDI FROM AUTA "
       "WHERE "
       "MKNM = 'AUDI' AND TYSP = 'A4'   AND (CYPR_START <= '2001' AND CYPR_END >= '2001')  ORDER BY "
       "CUCP_VAL, "
       "MDCA, MCAT, MDIE ASC;"},
      {"number search: normalised five times, raw between wildcards", numberSearchQuery("0.123.4", "0-123,4"),
       "SELECT AUTA.ID_UKLAD AS ID_UKLAD, AUTA.VELDO AS VELDO, AUTA.MKNM AS MKNM, AUTA.TYSP AS TYSP, "
       "AUTA.MDCA AS "
       "MDCA, AUTA.CYPR AS CYPR, AUTA.CUCP AS CUCP, AUTA.CUCP_VAL AS CUCP_VAL, AUTA.MCAT AS MCAT, AUTA.MDIE "
       "AS "
       "MDIE, AUTA.ITER AS ITER, AUTA.ADDI AS ADDI FROM AUTA LEFT JOIN T_U ON AUTA.ID_UKLAD = T_U.ID_UKLAD "
       "LEFT "
       "JOIN T_U_ELEMENT ON T_U.ID_KEY = T_U_ELEMENT.ID_T_U WHERE (AUTA.ID_UKLAD = '0.123.4' OR AUTA.VELDO = "
       "'0.123.4' OR FA = '0.123.4' OR T_U.OE = '0.123.4' OR T_U.VELDO = '0.123.4' OR UKLADY LIKE "
       "'%0-123,4%') "
       "GROUP BY AUTA.VELDO, AUTA.ITER ORDER BY MKNM, TYSP, CUCP_VAL, MCAT, MDIE ASC;"},
      {"system data", systemDataQuery("4711", "2"),
       "SELECT * FROM AUTA WHERE ID_UKLAD = '4711' AND ITER = '2';"},
      {"details parts: kind names of the program's language", detailsPartsQuery("4711", "2"),
       kExpectedDetailsParts},
      {"elements of a part", elementsQuery("815"),
       "SELECT ID_T_U, FA, FA_PIC, X, Y, W, H, ZWIELOKROTNIENIE FROM T_U_ELEMENT WHERE ID_T_U = '815';"},
      {"preview parts: Polish kind names in both programs", previewPartsQuery("4711", "2"),
       "SELECT T_U.VISIBLE AS VISIBLE, T_U.ID_KEY AS ID_KEY, ID_TLUMIK, VELDO_PIC_GRAFOS, TLUMIK.VELDO AS "
       "VELDO, "
       "X, Y, W, H, TLUMIK_KIND.NAME_PL AS NAME, AUTA.VELDO AS VEL, AUTA.ITER AS ITER FROM T_U LEFT JOIN "
       "AUTA ON "
       "T_U.ID_UKLAD = AUTA.ID_UKLAD LEFT JOIN TLUMIK ON T_U.ID_TLUMIK = TLUMIK.ID_KEY LEFT JOIN TLUMIK_KIND "
       "ON "
       "TLUMIK.ID_TLUMIK_KIND = TLUMIK_KIND.ID_KEY WHERE T_U.ID_UKLAD = '4711' AND AUTA.ITER = '2';"},
  };
  for (const QueryCase& c : cases) {
    EXPECT_EQ(c.actual.str(), c.expected) << c.label;
  }
}

TEST(QueryTextTest, ClausesAreTheirFixedTexts) {
  EXPECT_EQ(SqlClause().text().str(), "");
  EXPECT_EQ(capacityClause("1.9").text().str(), "AND CUCP_VAL = '1.9'");
  EXPECT_EQ(dieselClause().text().str(), "AND MDIE = 'Diesel'");
  EXPECT_EQ(yearClause("1999").text().str(), "AND (CYPR_START <= '1999' AND CYPR_END >= '1999')");
  EXPECT_EQ(catalystClause().text().str(), "AND MCAT = 'CAT'");
}

struct QuoteCase {
  const char* label;
  AnsiString value;
  const char* expected;
};

TEST(QueryTextTest, SingleQuotesInAValueAreDoubled) {
  const QuoteCase cases[] = {
      {"no quote", "AUDI", "AUDI"},
      {"empty", "", ""},
      {"one inside", "O'Brien", "O''Brien"},
      {"only a quote", "'", "''"},
      {"two in a row", "a''b", "a''''b"},
      {"at both ends", "'x'", "''x''"},
      {"an attempt to end the literal", "x' OR '1'='1", "x'' OR ''1''=''1"},
      {"other characters stay", "%_\\\"; --", "%_\\\"; --"},
      {"a NUL byte ends the value", AnsiString("ab\0c'd", 6), "ab"},
      {"code page bytes stay", "Ilo\x9C\xE6", "Ilo\x9C\xE6"},
  };
  for (const QuoteCase& c : cases) {
    EXPECT_EQ(sqlTextBody(c.value).str(), c.expected) << c.label;
  }
}

TEST(QueryTextTest, EveryPlaceOfAValueDoublesItsQuotes) {
  EXPECT_EQ(modelListQuery("O'Brien").str(),
            "select distinct TYSP from AUTA WHERE MKNM = 'O''Brien' order by TYSP ASC;");
  EXPECT_EQ(yearClause("1'9").text().str(), "AND (CYPR_START <= '1''9' AND CYPR_END >= '1''9')");
  EXPECT_EQ(capacityClause("1'9").text().str(), "AND CUCP_VAL = '1''9'");
  EXPECT_NE(numberSearchQuery("a'b", "c'd").Pos("UKLADY LIKE '%c''d%')"), 0);
  EXPECT_NE(elementsQuery("8'1").Pos("ID_T_U = '8''1';"), 0);
}

TEST(QueryTextTest, PercentSignsOfAValueAreNotReadAsConversions) {
  EXPECT_EQ(modelListQuery("%s%%d").str(),
            "select distinct TYSP from AUTA WHERE MKNM = '%s%%d' order by TYSP ASC;");
  EXPECT_NE(numberSearchQuery("%s", "%%s").Pos("LIKE '%%%s%')"), 0);
}

TEST(QueryTextTest, LongValuesAreNotCut) {
  const std::string longMake(5000, 'M');
  const std::string sql = modelListQuery(longMake).str();
  EXPECT_NE(sql.find("'" + longMake + "'"), std::string::npos);
  EXPECT_EQ(sql.substr(sql.size() - 19), " order by TYSP ASC;");
}

// ---------------------------------------------------------------------------------------------
// The queries against a small catalogue

// AUTA puts the panel's values at positions 1 to 6, 9 and 15. S3's system number is the text of a
// classic attempt to widen a search; S4's make and model hold single quotes.
constexpr const char kCatalogue[] =
    "CREATE TABLE AUTA(ID_UKLAD, VELDO, MKNM, TYSP, VERSION, MDCA, CYPR, CYPR_START, CYPR_END, CUCP, "
    "CUCP_VAL,"
    " MCAT, MDIE, ITER, UKLADY, ADDI);"
    "CREATE TABLE T_U(ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H, OE, VELDO);"
    "CREATE TABLE TLUMIK(ID_KEY, ID_TLUMIK_KIND, VELDO);"
    "CREATE TABLE TLUMIK_KIND(ID_KEY, NAME_DE, NAME_PL);"
    "CREATE TABLE T_U_ELEMENT(ID_T_U, FA, FA_PIC, X, Y, W, H, ZWIELOKROTNIENIE);"
    "INSERT INTO AUTA VALUES('S1', '100-1', 'AUDI', 'A4', 'B5', 'Kombi', '1995-2001', '1995', '2001', '1.8 "
    "T',"
    " '1781', 'CAT', '', '1', '100-1;200-2', 'info 1');"
    "INSERT INTO AUTA VALUES('S2', '200-2', 'AUDI', 'A4', 'B6', 'Limousine', '1999-', '1999', '3000', '1.9 "
    "TDI',"
    " '1896', '', 'Diesel', '1', '200-2', 'info 2');"
    "INSERT INTO AUTA VALUES('S3', 'x'' OR ''1''=''1', 'BMW', 'E36', '', '', '', '1990', '1998', '', '1991',"
    " '', '', '1', '', '');"
    "INSERT INTO AUTA VALUES('S4', '400-4', 'O''Brien', 'Mk''2', '', '', '', '2000', '2005', '', '1598',"
    " '', '', '1', '', '');"
    "INSERT INTO T_U VALUES('P1', 'S1', 'M1', '1', 'pic1', '0', '0', '100', '50', 'OE-1', 'T-1');"
    "INSERT INTO TLUMIK VALUES('M1', 'K1', 'VEL-M1');"
    "INSERT INTO TLUMIK_KIND VALUES('K1', 'Mitteltopf', 'Tlumik srodkowy');"
    "INSERT INTO T_U_ELEMENT VALUES('P1', 'FA-1', 'fa1', '5', '5', '10', '10', '2');";

class CatalogueQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    path = folder.filePath("veldo28.bgp").toStdString();
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &handle), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(handle, kCatalogue, nullptr, nullptr, &error);
    const std::string message = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(handle);
    ASSERT_EQ(rc, SQLITE_OK) << message;
    db.open(path.c_str());
  }

  // Every row of the query, NULL as "<null>".
  std::vector<std::vector<std::string>> rows(const AnsiString& sql) {
    std::vector<std::vector<std::string>> result;
    try {
      SqlTable table = db.queryTable(sql.c_str());
      for (int r = 0; r < table.rowCount(); ++r) {
        table.selectRow(r);
        std::vector<std::string> row;
        for (int c = 0;; ++c) {
          try {
            const char* value = table.valueAt(c);
            row.push_back(value != nullptr ? value : "<null>");
          } catch (const SqlException&) {
            break;
          }
        }
        result.push_back(row);
      }
    } catch (const SqlException& e) {
      ADD_FAILURE() << e.message << "\n" << sql.str();
    }
    return result;
  }

  // The first column of every row.
  std::vector<std::string> firstColumn(const AnsiString& sql) {
    std::vector<std::string> values;
    for (const auto& row : rows(sql)) values.push_back(row.at(0));
    return values;
  }

  QTemporaryDir folder;
  std::string path;
  SqlDb db;
};

TEST_F(CatalogueQueryTest, SearchTextThatTriesToWidenTheSearchFindsOnlyTheRowHoldingIt) {
  const AnsiString text = "x' OR '1'='1";
  EXPECT_EQ(firstColumn(numberSearchQuery(text, text)), std::vector<std::string>{"S3"});
}

TEST_F(CatalogueQueryTest, SearchTextThatTriesToWidenTheSearchFindsNothingWhereNoRowHoldsIt) {
  const AnsiString text = "y' OR '1'='1";
  EXPECT_TRUE(rows(numberSearchQuery(text, text)).empty());
}

TEST_F(CatalogueQueryTest, MakeAndModelWithQuotesAreMatchedAsTheyAre) {
  EXPECT_EQ(firstColumn(makeListQuery()), (std::vector<std::string>{"AUDI", "BMW", "O'Brien"}));
  EXPECT_EQ(firstColumn(modelListQuery("O'Brien")), std::vector<std::string>{"Mk'2"});
  EXPECT_EQ(
      firstColumn(selectionQuery("O'Brien", "Mk'2", SqlClause(), SqlClause(), SqlClause(), SqlClause())),
      std::vector<std::string>{"S4"});
  EXPECT_EQ(firstColumn(capacityListQuery("O'Brien", "Mk'2")), std::vector<std::string>{"1598"});
  EXPECT_EQ(rows(yearListQuery("O'Brien", "Mk'2")),
            (std::vector<std::vector<std::string>>{{"2000", "2005"}}));
}

TEST_F(CatalogueQueryTest, EachClauseNarrowsTheSelection) {
  const auto selection = [this](const SqlClause& capacity, const SqlClause& diesel, const SqlClause& year,
                                const SqlClause& catalyst) {
    return firstColumn(selectionQuery("AUDI", "A4", capacity, diesel, year, catalyst));
  };
  EXPECT_EQ(selection(SqlClause(), SqlClause(), SqlClause(), SqlClause()),
            (std::vector<std::string>{"S1", "S2"}));
  EXPECT_EQ(selection(capacityClause("1896"), SqlClause(), SqlClause(), SqlClause()),
            std::vector<std::string>{"S2"});
  EXPECT_EQ(selection(SqlClause(), dieselClause(), SqlClause(), SqlClause()), std::vector<std::string>{"S2"});
  EXPECT_EQ(selection(SqlClause(), SqlClause(), SqlClause(), catalystClause()),
            std::vector<std::string>{"S1"});
  EXPECT_EQ(selection(SqlClause(), SqlClause(), yearClause("2010"), SqlClause()),
            std::vector<std::string>{"S2"});
  EXPECT_EQ(selection(SqlClause(), SqlClause(), yearClause("1998"), SqlClause()),
            std::vector<std::string>{"S1"});
}

TEST_F(CatalogueQueryTest, NumberSearchComparesNumbersAndLooksIntoTheSystemLists) {
  EXPECT_EQ(firstColumn(numberSearchQuery("FA-1", "nothing")), std::vector<std::string>{"S1"});
  EXPECT_EQ(firstColumn(numberSearchQuery("OE-1", "nothing")), std::vector<std::string>{"S1"});
  EXPECT_EQ(firstColumn(numberSearchQuery("none", "200-2")), (std::vector<std::string>{"S1", "S2"}));
  // Wildcards of the raw text keep their meaning in the pattern.
  EXPECT_EQ(firstColumn(numberSearchQuery("none", "_00-1")), std::vector<std::string>{"S1"});
}

TEST_F(CatalogueQueryTest, DetailsQueriesReadThePartsOfTheRowKey) {
  const auto data = rows(systemDataQuery("S1", "1"));
  ASSERT_EQ(data.size(), 1u);
  ASSERT_EQ(data[0].size(), 16u);
  EXPECT_EQ(data[0][9], "1.8 T");
  EXPECT_EQ(data[0][15], "info 1");

  const auto parts = rows(detailsPartsQuery("S1", "1"));
  ASSERT_EQ(parts.size(), 1u);
  const std::vector<std::string> expectedPart = {
      "1",    "P1", "M1",  "pic1", "VEL-M1",
      "0",    "0",  "100", "50",   CATALOG_POLISH ? "Tlumik srodkowy" : "Mitteltopf",
      "100-1"};
  EXPECT_EQ(parts[0], expectedPart);

  const auto preview = rows(previewPartsQuery("S1", "1"));
  ASSERT_EQ(preview.size(), 1u);
  EXPECT_EQ(preview[0][9], "Tlumik srodkowy");
  EXPECT_EQ(preview[0][11], "1");

  EXPECT_EQ(rows(elementsQuery("P1")),
            (std::vector<std::vector<std::string>>{{"P1", "FA-1", "fa1", "5", "5", "10", "10", "2"}}));
}

// Values that try to end their literal, to add a statement or to comment out the rest.
const char* const kHostileValues[] = {
    "x' OR '1'='1",
    "a'; DROP TABLE AUTA; --",
    "'); DELETE FROM AUTA; --",
    "'''",
    "\\'; ATTACH 'x' AS y; --",
    "1' UNION SELECT sql FROM sqlite_master --",
    "%'; PRAGMA writable_schema=1; --",
};

std::vector<AnsiString> everyQueryWith(const AnsiString& v) {
  return {
      makeListQuery(),
      modelListQuery(v),
      yearListQuery(v, v),
      capacityListQuery(v, v),
      selectionQuery(v, v, SqlClause(), SqlClause(), SqlClause(), SqlClause()),
      selectionQuery(v, v, capacityClause(v), dieselClause(), yearClause(v), catalystClause()),
      numberSearchQuery(v, v),
      systemDataQuery(v, v),
      detailsPartsQuery(v, v),
      elementsQuery(v),
      previewPartsQuery(v, v),
  };
}

bool onlyBlanks(const char* text) {
  for (; *text != '\0'; ++text) {
    if (!std::isspace(static_cast<unsigned char>(*text))) return false;
  }
  return true;
}

TEST_F(CatalogueQueryTest, EveryQueryIsOneReadOnlyStatementWhateverTheValues) {
  sqlite3* handle = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  for (const char* value : kHostileValues) {
    for (const AnsiString& sql : everyQueryWith(value)) {
      sqlite3_stmt* statement = nullptr;
      const char* tail = nullptr;
      ASSERT_EQ(sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, &tail), SQLITE_OK)
          << sqlite3_errmsg(handle) << "\n"
          << sql.str();
      EXPECT_TRUE(sqlite3_stmt_readonly(statement)) << sql.str();
      EXPECT_TRUE(onlyBlanks(tail)) << "more than one statement: " << sql.str();
      sqlite3_finalize(statement);
      rows(sql);  // and it runs
    }
  }
  sqlite3_close(handle);
  EXPECT_EQ(firstColumn(makeListQuery()), (std::vector<std::string>{"AUDI", "BMW", "O'Brien"}));
}

}  // namespace
