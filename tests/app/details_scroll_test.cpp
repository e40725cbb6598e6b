// The details window scrolls when its parts list runs past its foot: the user scrolls down to the
// last row, and the hover highlight follows the pointer there as anywhere else.
#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QScrollBar>
#include <QWidget>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/DetailsCatalogue.h"
#include "app/support/UserInput.h"
#include "common/WidgetTesting.h"

namespace {

using details_testing::itemCentre;
using details_testing::rowPoint;
using details_testing::showDetailsOf;
using details_testing::systemSql;
using details_testing::TestPart;

constexpr QRgb kBlue = 0xFF2040C0;
constexpr QRgb kRed = 0xFFE02020;

// A system of `items` items: one part and `items - 1` elements, side by side in rows of 14
// across the drawing, each 30 x 30 with a blue picture and a red highlight picture.
std::string systemOfItems(const std::string& id, int items) {
  std::vector<std::string> numbers;
  for (int i = 1; i < items; ++i) numbers.push_back(id + "-e" + std::to_string(i));
  const std::string key = id + "-p";
  const std::string number = id + "-n";
  TestPart part{key.c_str(), "1", number.c_str(), "item", 10, 10, 30, 30};
  for (int i = 1; i < items; ++i) {
    part.elements.push_back(
        {numbers[i - 1].c_str(), "item", 10 + 45 * (i % 14), 10 + 50 * (i / 14), 30, 30, "1"});
  }
  return systemSql(id, id + "-v", {part});
}

// Where a client point of the details window shows in the window as the user sees it.
QPoint onScreen(QPoint client) { return detailsForm->ClientWidget()->mapTo(detailsForm->Widget(), client); }

// Whether the window, as the user sees it, shows pixels of the colour within the rectangle.
bool windowShows(const QRect& rect, QRgb colour) {
  const QImage shot = detailsForm->Widget()->grab().toImage();
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (shot.rect().contains(x, y) &&
          testing_support::near(testing_support::pixelAt(shot, x, y), QColor(colour), 40))
        return true;
    }
  }
  return false;
}

class DetailsScrollTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeLogo();
    details_testing::writeBackground(folder, "S29-v", 0xFFC8C8C8);
    details_testing::writeItemPicture(folder, "item", 30, 30, kBlue);
    details_testing::writeHotPicture(folder, "item", 30, 30, kRed);
    folder.writeCatalogue(systemOfItems("S29", 29) + systemOfItems("S5", 5));
  }

  WorkingFolder folder;
  StartupRun run;
};

TEST_F(DetailsScrollTest, UserScrollsToTheLastRowAndItLightsUpUnderThePointer) {
  run.run([] {
    user::moveMouse(Form1, QPoint(1, 1));
    showDetailsOf("S29");
    ASSERT_EQ(detailsItemCount, 29);
    ASSERT_TRUE(testing_support::showsScrollBar(*detailsForm));
    const QRect row29(324, numberLabels[29]->Top(), 361, numberLabels[29]->Height());
    EXPECT_GT(onScreen(row29.bottomLeft()).y(), detailsForm->ClientHeight()) << "below the foot at first";

    ASSERT_TRUE(testing_support::scrollToTheFoot(*detailsForm));
    const QRect shownRow(onScreen(row29.topLeft()), row29.size());
    ASSERT_TRUE(QRect(0, 0, detailsForm->ClientWidth(), detailsForm->ClientHeight()).contains(shownRow));
    EXPECT_FALSE(windowShows(shownRow, kRed));

    user::moveMouse(detailsForm, rowPoint(29));
    EXPECT_EQ(hoveredItem, 29);
    for (TLabel* label : {numberLabels[29], nameLabels[29], quantityLabels[29]}) {
      EXPECT_EQ(label->Font()->Color(), clRed);
    }
    EXPECT_TRUE(windowShows(shownRow, kRed)) << "the row shows red where the user points";

    // Back up at the drawing, with the pointer on the scroll bar, the item shows its highlight.
    ASSERT_TRUE(testing_support::scrollToTheTop(*detailsForm));
    EXPECT_TRUE(details_testing::detailsPixelIs(itemCentre(29), kRed)) << "its highlight picture";
    EXPECT_TRUE(details_testing::detailsPixelIs(itemCentre(28), kBlue));
  });
}

TEST_F(DetailsScrollTest, ShortListBringsNoScrollBarAndALongOneTakesItAway) {
  run.run([] {
    showDetailsOf("S5");
    ASSERT_EQ(detailsItemCount, 5);
    EXPECT_FALSE(testing_support::showsScrollBar(*detailsForm));
    showDetailsOf("S29");
    EXPECT_TRUE(testing_support::showsScrollBar(*detailsForm));
    showDetailsOf("S5");
    EXPECT_FALSE(testing_support::showsScrollBar(*detailsForm)) << "the hidden rows need no room";
  });
}

}  // namespace
