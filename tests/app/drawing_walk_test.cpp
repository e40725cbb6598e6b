// The preview and the details drawing walk a system's part rows and elements in one way: on every
// catalogue they draw the same items at the same places, a part whose key is SQL NULL has no
// elements in either, and both stop querying once 29 items are drawn.
#include <gtest/gtest.h>

#include <QRect>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/DetailsCatalogue.h"
#include "app/support/StatementLog.h"
#include "app/support/UserInput.h"

namespace {

using details_testing::selectSystemBySelection;
using details_testing::systemSql;
using details_testing::TestElement;
using details_testing::TestPart;

const std::string kElementQuery = "SELECT ID_T_U, FA, FA_PIC";

// The places of a drawing's items within the 700 x 204 drawing, in item order.
std::vector<QRect> placesOf(TImage* const* images, int count, const TImage* background) {
  std::vector<QRect> places;
  for (int n = 1; n <= count; ++n) {
    const TImage* image = images[n];
    places.emplace_back(image->Left() - background->Left(), image->Top() - background->Top(), image->Width(),
                        image->Height());
  }
  return places;
}

std::string elementsUnderTheEmptyKey() {
  return "INSERT INTO T_U_ELEMENT VALUES ('', '91.1', 'e', '1', '2', '5', '5', '1');"
         "INSERT INTO T_U_ELEMENT VALUES ('(null)', '91.2', 'e', '3', '4', '5', '5', '1');";
}

std::string visibleParts(int count) {
  return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(count) +
         ") INSERT INTO T_U (ID_KEY, ID_UKLAD, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H)"
         " SELECT 'k' || i, 'S1', '1', 'p', i % 600, i % 150, 10, 10 FROM n;";
}

TestPart kitOfElements(int count) {
  TestPart kit{"kit", "1", "30.0", "pk", 0, 0, 10, 10};
  for (int i = 0; i < count; ++i) kit.elements.push_back({"91.0", "e", i, 100, 5, 5, "1"});
  return kit;
}

struct WalkCase {
  const char* name;
  std::string sql;
  int items;
  int elementQueries;  // that each drawing runs
};

const WalkCase kCatalogues[] = {
    {"PartsDrawnAndNotWithElementsAndWithout",
     systemSql("S1", "10.001",
               {{"a", "1", "30.1", "pa", 100, 50, 60, 40, "", "", {{"91.1", "e1", 5, 6, 20, 10, "3"}}},
                {"b", "0", "30.2", "pb", 0, 0, 10, 10, "", "", {{"91.2", "e2", 200, 100, 30, 12, "1"}}},
                {"c", "1", "30.3", "pc", 300, 20, 70, 30}}),
     4, 3},
    // Elements wait under the texts that a NULL key could turn into.
    {"PartWhoseKeyIsNull",
     systemSql("S1", "10.001", {{nullptr, "1", "30.1", "p", 5, 6, 10, 10}}) + elementsUnderTheEmptyKey(), 1,
     0},
    {"TenThousandVisibleParts", systemSql("S1", "10.001", {}) + visibleParts(10000), 29, 28},
    {"PartWith34ElementsThenAnotherPart",
     systemSql("S1", "10.001", {kitOfElements(34), {"after", "1", "30.9", "p", 0, 0, 5, 5}}), 29, 1},
};

class DrawingWalkTest : public ::testing::TestWithParam<WalkCase> {
 protected:
  void SetUp() override { folder.writeLogo(); }

  WorkingFolder folder;
  StatementLog log;
  StartupRun run;
};

TEST_P(DrawingWalkTest, PreviewAndDetailsDrawTheSameItemsWithTheSameQueries) {
  const WalkCase& c = GetParam();
  folder.writeCatalogue(c.sql);
  run.run([&] {
    log.clear();
    selectSystemBySelection("S1");
    const std::size_t previewQueries = log.startingWith(kElementQuery).size();
    log.clear();
    user::click(Form1->Button4);
    const std::size_t detailsQueries = log.startingWith(kElementQuery).size();

    EXPECT_EQ(previewItemCount, c.items);
    EXPECT_EQ(detailsItemCount, c.items);
    EXPECT_EQ(placesOf(previewImages, previewItemCount, previewBackground),
              placesOf(detailsImages, detailsItemCount, detailsBackground));
    EXPECT_EQ(previewQueries, static_cast<std::size_t>(c.elementQueries));
    EXPECT_EQ(detailsQueries, static_cast<std::size_t>(c.elementQueries));
  });
  EXPECT_TRUE(run.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogues, DrawingWalkTest, ::testing::ValuesIn(kCatalogues),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
