// The large catalogue that the benchmarks run on.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools/DemoFolder.h"
#include "tools/support/ToolFiles.h"

namespace {

TEST(ScaleCatalogTest, HoldsTwoHundredThousandApplicationsWithEveryDrawing) {
  TempFolder folder;
  demo::writeDemoFolder(folder.path(), demo::CatalogSize::kScale);
  ReadOnlyDb db(folder.file("veldo28.bgp"));

  EXPECT_GE(std::stol(db.value("SELECT COUNT(*) FROM AUTA")), 200000);
  // More rows for one make and model than the result list can hold.
  EXPECT_GT(std::stol(db.value("SELECT MAX(n) FROM (SELECT COUNT(*) AS n FROM AUTA GROUP BY MKNM, TYSP)")),
            8000);
  EXPECT_EQ(db.value("SELECT COUNT(*) - COUNT(DISTINCT ID_UKLAD || '/' || ITER) FROM AUTA"), "0");
  EXPECT_EQ(db.value("SELECT COUNT(*) - COUNT(DISTINCT ID_KEY) FROM T_U"), "0");

  const QueryResult systems = db.query("SELECT DISTINCT VELDO FROM AUTA");
  ASSERT_TRUE(systems.ok) << systems.error;
  std::size_t missing = 0;
  for (const auto& row : systems.rows) {
    if (!std::filesystem::exists(folder.file("data/data_p/" + *row[0] + ".dat"))) ++missing;
  }
  EXPECT_EQ(missing, 0u);
}

}  // namespace
