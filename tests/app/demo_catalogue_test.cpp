// The demo catalogue against the program's own queries: every query runs, finds what it should,
// and the details panel's eight positions of SELECT * hold the columns its captions name.
#include <gtest/gtest.h>

#include <string>

#include "app/Queries.h"
#include "app/support/CatalogRun.h"
#include "db/SqlDb.h"
#include "tools/DemoFolder.h"

namespace {

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

  // The rows of a query, each as its first `columns` values joined by "|".
  static std::vector<std::string> rows(const AnsiString& sql, int columns = 1) {
    std::vector<std::string> out;
    SqlTable table = db_->queryTable(sql.c_str());
    for (int r = 0; r < table.rowCount(); ++r) {
      table.selectRow(r);
      std::string row;
      for (int c = 0; c < columns; ++c) {
        const char* value = table.valueAt(c);
        row += (c > 0 ? "|" : "") + std::string(value != nullptr ? value : "");
      }
      out.push_back(row);
    }
    return out;
  }

  static std::string first(const char* sql) {
    const std::vector<std::string> found = rows(sql);
    return found.empty() ? std::string() : found[0];
  }

  static WorkingFolder* folder_;
  static SqlDb* db_;
};

WorkingFolder* DemoCatalogueTest::folder_ = nullptr;
SqlDb* DemoCatalogueTest::db_ = nullptr;

TEST_F(DemoCatalogueTest, SelectionQueriesFindMakesModelsYearsAndCapacities) {
  const std::vector<std::string> makes = rows(makeListQuery());
  ASSERT_GE(makes.size(), 10u);
  const AnsiString make = makes[0].c_str();
  const std::vector<std::string> models = rows(modelListQuery(make));
  ASSERT_FALSE(models.empty());
  const AnsiString model = models[0].c_str();
  EXPECT_FALSE(rows(yearListQuery(make, model), 2).empty());
  const std::vector<std::string> capacities = rows(capacityListQuery(make, model));
  ASSERT_FALSE(capacities.empty());

  EXPECT_FALSE(rows(selectionQuery(make, model, {}, {}, {}, {})).empty());
  // Every clause at once still runs as one statement.
  rows(selectionQuery(make, model, capacityClause(capacities[0].c_str()), dieselClause(), yearClause("2005"),
                      catalystClause()));
}

TEST_F(DemoCatalogueTest, NumberSearchFindsSystemsByEveryKindOfNumber) {
  const std::string numbers[] = {
      first("SELECT VELDO FROM AUTA LIMIT 1"),
      first("SELECT ID_UKLAD FROM AUTA LIMIT 1"),
      first("SELECT FA FROM T_U_ELEMENT WHERE FA IS NOT NULL LIMIT 1"),
      first("SELECT OE FROM T_U WHERE OE IS NOT NULL AND OE <> '' LIMIT 1"),
      first("SELECT VELDO FROM T_U WHERE VELDO IS NOT NULL AND VELDO <> '' LIMIT 1"),
  };
  for (const std::string& number : numbers) {
    SCOPED_TRACE(number);
    ASSERT_FALSE(number.empty());
    EXPECT_FALSE(rows(numberSearchQuery(number.c_str(), number.c_str())).empty());
  }
  const std::string systems = first("SELECT UKLADY FROM AUTA WHERE UKLADY IS NOT NULL LIMIT 1");
  ASSERT_GE(systems.size(), 3u);
  const std::string fragment = systems.substr(1, 2);
  EXPECT_FALSE(rows(numberSearchQuery("no such number", fragment.c_str())).empty());
}

TEST_F(DemoCatalogueTest, SystemDataPositionsHoldWhatThePanelCaptionsName) {
  const std::vector<std::string> key = rows("SELECT ID_UKLAD, ITER FROM AUTA LIMIT 1", 2);
  ASSERT_EQ(key.size(), 1u);
  const std::string id = key[0].substr(0, key[0].find('|'));
  const std::string iteration = key[0].substr(key[0].find('|') + 1);

  SqlTable all = db_->queryTable(systemDataQuery(id.c_str(), iteration.c_str()).c_str());
  all.selectRow(0);
  const char* named[] = {"VELDO", "MKNM", "TYSP", "MDNM", "MDCA", "CYPR", "CUCP", "ADDI"};
  const int positions[] = {1, 2, 3, 4, 5, 6, 9, 15};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(named[i]);
    const std::string byName = first(("SELECT " + std::string(named[i]) + " FROM AUTA WHERE ID_UKLAD = '" +
                                      id + "' AND ITER = '" + iteration + "'")
                                         .c_str());
    const char* byPosition = all.valueAt(positions[i]);
    EXPECT_EQ(std::string(byPosition != nullptr ? byPosition : ""), byName);
  }
}

TEST_F(DemoCatalogueTest, PartsAndElementsQueriesFindTheDrawing) {
  const std::vector<std::string> key =
      rows("SELECT AUTA.ID_UKLAD, AUTA.ITER FROM AUTA JOIN T_U ON T_U.ID_UKLAD = AUTA.ID_UKLAD LIMIT 1", 2);
  ASSERT_EQ(key.size(), 1u);
  const AnsiString id = key[0].substr(0, key[0].find('|')).c_str();
  const AnsiString iteration = key[0].substr(key[0].find('|') + 1).c_str();

  const std::vector<std::string> parts = rows(detailsPartsQuery(id, iteration), 11);
  ASSERT_FALSE(parts.empty());
  EXPECT_EQ(rows(previewPartsQuery(id, iteration), 12).size(), parts.size());

  const std::string part = first("SELECT ID_T_U FROM T_U_ELEMENT LIMIT 1");
  EXPECT_FALSE(rows(elementsQuery(part.c_str()), 8).empty());
}

}  // namespace
