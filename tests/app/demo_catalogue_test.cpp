// The demo catalogue against the program's own queries: every query runs and finds the row it is
// meant for, and the details panel's eight positions of SELECT * hold the columns its captions
// name.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/Queries.h"
#include "app/support/CatalogRun.h"
#include "db/SqlDb.h"
#include "tools/DemoFolder.h"

namespace {

using Row = std::vector<std::string>;  // SQL NULL reads as ""

class DemoCatalogueTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new WorkingFolder();
    demo::writeDemoFolder(folder_->path(), demo::CatalogSize::kDemo);
    db_ = new SqlDb();
    db_->open("veldo28.bgp");
  }
  static void TearDownTestSuite() {
    delete db_;
    delete folder_;
  }

  // Every row of a query, each with its first `columns` values.
  static std::vector<Row> rows(const AnsiString& sql, int columns) {
    std::vector<Row> out;
    SqlTable table = db_->queryTable(sql.c_str());
    for (int r = 0; r < table.rowCount(); ++r) {
      table.selectRow(r);
      Row row;
      for (int c = 0; c < columns; ++c) {
        const char* value = table.valueAt(c);
        row.emplace_back(value != nullptr ? value : "");
      }
      out.push_back(std::move(row));
    }
    return out;
  }

  // The first column of the first row, "" when there is none.
  static std::string value(const std::string& sql) {
    const std::vector<Row> found = rows(sql.c_str(), 1);
    return found.empty() ? std::string() : found[0][0];
  }

  static WorkingFolder* folder_;
  static SqlDb* db_;
};

WorkingFolder* DemoCatalogueTest::folder_ = nullptr;
SqlDb* DemoCatalogueTest::db_ = nullptr;

// The number search compares the typed text with "," and "-" turned into full stops, and looks
// for it as typed among the former system numbers.
AnsiString numberSearch(const std::string& typed) {
  std::string dotted = typed;
  std::replace(dotted.begin(), dotted.end(), ',', '.');
  std::replace(dotted.begin(), dotted.end(), '-', '.');
  return numberSearchQuery(dotted.c_str(), typed.c_str());
}

TEST_F(DemoCatalogueTest, EveryQueryFindsTheRowItIsMeantFor) {
  // An application with a catalytic converter and a diesel engine, whose system has a drawn part
  // with elements, so that every clause and every query has something to find.
  const std::vector<Row> sample = rows(
      "SELECT MKNM, TYSP, CUCP_VAL, CYPR_START, ID_UKLAD, ITER, VELDO, UKLADY FROM AUTA WHERE MCAT = 'CAT' "
      "AND MDIE = 'Diesel' AND ID_UKLAD IN (SELECT T_U.ID_UKLAD FROM T_U JOIN T_U_ELEMENT ON "
      "T_U_ELEMENT.ID_T_U = T_U.ID_KEY WHERE T_U.VISIBLE = '1') ORDER BY ID_UKLAD LIMIT 1",
      8);
  ASSERT_EQ(sample.size(), 1u);
  const Row& row = sample[0];
  const std::string make = row[0], model = row[1], capacity = row[2], year = row[3], system = row[4],
                    iteration = row[5], veldo = row[6], formerNumbers = row[7];
  const std::string formerNumber = formerNumbers.substr(formerNumbers.find(';') + 1);
  const std::string part = value(
      "SELECT T_U.ID_KEY FROM T_U JOIN T_U_ELEMENT ON T_U_ELEMENT.ID_T_U = T_U.ID_KEY WHERE T_U.ID_UKLAD = "
      "'" +
      system + "' LIMIT 1");
  const std::string silencedSystem = value(
      "SELECT T_U.ID_UKLAD FROM T_U JOIN TLUMIK ON TLUMIK.ID_KEY = T_U.ID_TLUMIK WHERE VISIBLE = '1' LIMIT 1 "
      "OFFSET 40");
  const std::string silencer = value(
      "SELECT TLUMIK.VELDO FROM T_U JOIN TLUMIK ON TLUMIK.ID_KEY = T_U.ID_TLUMIK WHERE VISIBLE = '1' LIMIT 1 "
      "OFFSET 40");
  const std::string elementSystem =
      value("SELECT T_U.ID_UKLAD FROM T_U_ELEMENT JOIN T_U ON T_U.ID_KEY = ID_T_U LIMIT 1 OFFSET 100");
  const std::string element =
      value("SELECT FA FROM T_U_ELEMENT JOIN T_U ON T_U.ID_KEY = ID_T_U LIMIT 1 OFFSET 100");
  const std::string makersSystem = value("SELECT ID_UKLAD FROM T_U WHERE OE <> '' LIMIT 1 OFFSET 50");
  const std::string makersNumber = value("SELECT OE FROM T_U WHERE OE <> '' LIMIT 1 OFFSET 50");
  const std::string partSystem = value("SELECT ID_UKLAD FROM T_U WHERE VELDO <> '' LIMIT 1 OFFSET 30");
  const std::string partNumber = value("SELECT VELDO FROM T_U WHERE VELDO <> '' LIMIT 1 OFFSET 30");
  ASSERT_FALSE(part.empty() || silencer.empty() || element.empty() || makersNumber.empty() ||
               partNumber.empty() || formerNumber.size() < 2);

  const AnsiString m = make.c_str(), t = model.c_str(), id = system.c_str(), it = iteration.c_str();
  const struct {
    const char* label;
    AnsiString sql;
    int column;  // a row must hold `expected` in this column
    std::string expected;
  } kCases[] = {
      {"make list", makeListQuery(), 0, make},
      {"models of a make", modelListQuery(m), 0, model},
      {"years of a model", yearListQuery(m, t), 0, year},
      {"capacities of a model", capacityListQuery(m, t), 0, capacity},
      {"result list without clauses", selectionQuery(m, t, {}, {}, {}, {}), 0, system},
      {"result list with every clause",
       selectionQuery(m, t, capacityClause(capacity.c_str()), dieselClause(), yearClause(year.c_str()),
                      catalystClause()),
       0, system},
      {"number search by system key", numberSearch(system), 0, system},
      {"number search by system number", numberSearch(veldo), 0, system},
      {"number search by silencer number", numberSearch(silencer), 0, silencedSystem},
      {"number search by element number", numberSearch(element), 0, elementSystem},
      {"number search by maker's number", numberSearch(makersNumber), 0, makersSystem},
      {"number search by part number", numberSearch(partNumber), 0, partSystem},
      {"number search by part of a former number", numberSearch(formerNumber.substr(1)), 0, system},
      {"details panel", systemDataQuery(id, it), 13, iteration},
      {"parts of the details", detailsPartsQuery(id, it), 10, veldo},
      {"parts of the preview", previewPartsQuery(id, it), 10, veldo},
      {"elements of a part", elementsQuery(part.c_str()), 0, part},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.label);
    const std::vector<Row> found = rows(c.sql, c.column + 1);
    ASSERT_FALSE(found.empty());
    const bool holds = std::any_of(found.begin(), found.end(), [&](const Row& r) {
      return static_cast<std::size_t>(c.column) < r.size() && r[c.column] == c.expected;
    });
    EXPECT_TRUE(holds) << "no row holds " << c.expected << " in column " << c.column;
  }
  EXPECT_EQ(rows(previewPartsQuery(id, it), 1).size(), rows(detailsPartsQuery(id, it), 1).size());
}

TEST_F(DemoCatalogueTest, SystemDataPositionsHoldWhatThePanelCaptionsName) {
  const std::vector<Row> key = rows("SELECT ID_UKLAD, ITER FROM AUTA LIMIT 1", 2);
  ASSERT_EQ(key.size(), 1u);
  const std::string& id = key[0][0];
  const std::string& iteration = key[0][1];
  const std::vector<Row> all = rows(systemDataQuery(id.c_str(), iteration.c_str()), 16);
  ASSERT_EQ(all.size(), 1u);
  const std::vector<Row> columns = rows("PRAGMA table_info(AUTA)", 2);  // cid, name

  const std::pair<std::size_t, const char*> kShown[] = {{1, "VELDO"}, {2, "MKNM"}, {3, "TYSP"}, {4, "MDNM"},
                                                        {5, "MDCA"},  {6, "CYPR"}, {9, "CUCP"}, {15, "ADDI"}};
  for (const auto& [position, name] : kShown) {
    SCOPED_TRACE(name);
    ASSERT_LT(position, columns.size());
    EXPECT_EQ(columns[position][1], name);
    const std::string byName = value(std::string("SELECT ") + name + " FROM AUTA WHERE ID_UKLAD = '" + id +
                                     "' AND ITER = '" + iteration + "'");
    EXPECT_EQ(all[0][position], byName);
  }
}

}  // namespace
