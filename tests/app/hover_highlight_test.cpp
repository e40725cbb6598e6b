// The hover highlight, driven by the real pointer over the details window: an item's picture or
// its parts-list row highlights the item, anything else bound to the handler returns it to normal,
// and everything else under the pointer changes nothing.
#include <gtest/gtest.h>

#include <QPoint>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/DetailsCatalogue.h"
#include "app/support/PictureOpens.h"
#include "app/support/UserInput.h"

namespace {

using details_testing::detailsPixelIs;
using details_testing::itemCentre;
using details_testing::rowPoint;
using details_testing::showDetailsOf;
using details_testing::systemSql;
using details_testing::TestPart;
using Opened = std::vector<std::string>;

constexpr QRgb kGrey = 0xFFC8C8C8;
constexpr QRgb kBlue = 0xFF2040C0;
constexpr QRgb kRed = 0xFFE02020;

// Places the pointer may go to that are not items.
const QPoint kBareDrawing(400, 190);
const QPoint kEmptyWindow(100, 562);
const QPoint kColumnHeader(420, 322);
const QPoint kPanelCaption(20, 240);
const QPoint kLogo(300, 240);

// Six items in a row across the drawing: part 1 with its elements 2 and 3, part 4 without a
// number (its silencer row is missing), part 5, and part 6 without a highlight picture.
class HoverHighlightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeLogo();
    details_testing::writeBackground(folder, "10.001", kGrey);
    const char* const pictures[] = {"pa", "e2", "e3", "pb", "pc", "pd"};
    for (const char* picture : pictures) {
      details_testing::writeItemPicture(folder, picture, 80, 60, kBlue);
      if (std::string(picture) != "pd") details_testing::writeHotPicture(folder, picture, 80, 60, kRed);
    }
    TestPart first{"a", "1", "30.1", "pa", 20, 40, 80, 60};
    first.elements = {{"91.2", "e2", 130, 40, 80, 60, "2"}, {"91.3", "e3", 240, 40, 80, 60, "1"}};
    folder.writeCatalogue(
        systemSql("S1", "10.001",
                  {first,
                   {"b", "1", nullptr, "pb", 350, 40, 80, 60},
                   {"c", "1", "30.5", "pc", 460, 40, 80, 60},
                   {"d", "1", "30.6", "pd", 570, 40, 80, 60}}) +
        systemSql("S2", "10.002",
                  {{"x", "1", "30.7", "pa", 20, 40, 80, 60}, {"y", "1", "30.8", "e2", 130, 40, 80, 60}}));
  }

  void moveTo(QPoint point) { user::moveMouse(detailsForm, point); }

  // The system's view, with the pointer coming from the main window. The toolkit keeps the
  // pointer's place from test to test and drops a move to where it already is, so each test's
  // pointer starts elsewhere.
  static void openView(const char* system = "S1") {
    user::moveMouse(Form1, QPoint(1, 1));
    showDetailsOf(system);
  }

  // Whether item n shows its highlight picture (red) or its normal one (blue).
  static bool showsHot(int item) { return detailsPixelIs(itemCentre(item), kRed); }
  static bool showsNormal(int item) { return detailsPixelIs(itemCentre(item), kBlue); }

  // The colour of item n's row, when all three labels agree; -1 when they do not.
  static TColor rowColour(int item) {
    const TColor colour = numberLabels[item]->Font()->Color();
    if (nameLabels[item]->Font()->Color() != colour || quantityLabels[item]->Font()->Color() != colour)
      return -1;
    return colour;
  }

  // Whether exactly `item` is highlighted, in its picture, its flag and its row, and every other
  // item of the view is normal; 0 for none.
  static void expectHighlighted(int item) {
    for (int n = 1; n <= 6; ++n) {
      SCOPED_TRACE(n);
      const bool hot = n == item;
      EXPECT_EQ(itemHighlighted[n], hot ? "1" : "0");
      if (n != 6) {
        EXPECT_TRUE(hot ? showsHot(n) : showsNormal(n));
      }
      if (n != 4) {
        EXPECT_EQ(rowColour(n), hot ? clRed : clBlack);
      }
    }
  }

  WorkingFolder folder;
  StartupRun run;
};

TEST_F(HoverHighlightTest, FirstMoveAfterStartHighlightsTheItemAndRestoresNothing) {
  run.run([this] {
    openView();
    ASSERT_EQ(hoveredItem, 0);
    PictureOpens opens(folder.path());
    moveTo(itemCentre(3));
    EXPECT_EQ(hoveredItem, 3);
    expectHighlighted(3);
    EXPECT_EQ(opens.take(), Opened{"data_r/e3.dat"});
  });
}

TEST_F(HoverHighlightTest, MovesOverTheSameItemsPictureOrItsOwnRowDecodeNothing) {
  run.run([this] {
    openView();
    moveTo(itemCentre(3));
    PictureOpens opens(folder.path());
    moveTo(itemCentre(3) + QPoint(10, 5));
    moveTo(rowPoint(3));
    moveTo(QPoint(324 + 10, 325 + 18 * 3 + 4));  // its number
    moveTo(itemCentre(3));
    EXPECT_TRUE(opens.take().empty());
    EXPECT_EQ(hoveredItem, 3);
    expectHighlighted(3);
  });
}

TEST_F(HoverHighlightTest, StraightOntoAnotherItemHighlightsItBeforeRestoringThePreviousOne) {
  run.run([this] {
    openView();
    moveTo(itemCentre(3));
    PictureOpens opens(folder.path());
    moveTo(itemCentre(5));
    EXPECT_EQ(opens.take(), (Opened{"data_r/pc.dat", "data_b/e3.dat"}));
    EXPECT_EQ(hoveredItem, 5);
    expectHighlighted(5);
  });
}

TEST_F(HoverHighlightTest, ARowHighlightsItsItemLikeItsPicture) {
  run.run([this] {
    openView();
    moveTo(rowPoint(2));
    EXPECT_EQ(hoveredItem, 2);
    expectHighlighted(2);
    moveTo(rowPoint(5));
    expectHighlighted(5);
  });
}

// From a highlighted item 5 to a place that is not an item: the window and the bare drawing carry
// the handler with Tag 55 and return the item to normal; the other controls carry no handler.
TEST_F(HoverHighlightTest, LeavingAnItemRestoresItOnlyOverTheWindowOrTheBareDrawing) {
  struct Place {
    const char* label;
    QPoint point;
    bool restores;
  };
  const Place places[] = {
      {"bare drawing", kBareDrawing, true},
      {"empty window", kEmptyWindow, true},
      {"column header", kColumnHeader, false},
      {"panel caption", kPanelCaption, false},
      {"logo", kLogo, false},
  };
  run.run([&] {
    openView();
    for (const Place& place : places) {
      SCOPED_TRACE(place.label);
      moveTo(kBareDrawing);
      moveTo(itemCentre(5));
      ASSERT_EQ(hoveredItem, 5);
      PictureOpens opens(folder.path());
      moveTo(place.point);
      if (place.restores) {
        EXPECT_EQ(hoveredItem, 55);
        expectHighlighted(0);
        EXPECT_EQ(opens.take(), Opened{"data_b/pc.dat"});
        moveTo(kEmptyWindow);
        moveTo(kBareDrawing);
        EXPECT_TRUE(opens.take().empty()) << "further moves over the window change nothing";
      } else {
        EXPECT_EQ(hoveredItem, 5);
        expectHighlighted(5);
        EXPECT_TRUE(opens.take().empty());
      }
    }
  });
}

TEST_F(HoverHighlightTest, FromTheBareDrawingOntoAnItemNothingIsRestored) {
  run.run([this] {
    openView();
    moveTo(itemCentre(5));
    moveTo(kBareDrawing);
    PictureOpens opens(folder.path());
    moveTo(itemCentre(2));
    EXPECT_EQ(opens.take(), Opened{"data_r/e2.dat"});
    expectHighlighted(2);
  });
}

TEST_F(HoverHighlightTest, MissingHighlightPictureTurnsOnlyTheRowRed) {
  run.run([this] {
    openView();
    moveTo(itemCentre(6));
    EXPECT_EQ(itemHighlighted[6], "1");
    EXPECT_EQ(rowColour(6), clRed);
    EXPECT_TRUE(showsNormal(6));
    PictureOpens opens(folder.path());
    moveTo(kBareDrawing);
    EXPECT_EQ(rowColour(6), clBlack);
    EXPECT_EQ(itemHighlighted[6], "0");
    EXPECT_EQ(opens.take(), Opened{"data_b/pd.dat"});
    EXPECT_TRUE(showsNormal(6));
  });
}

TEST_F(HoverHighlightTest, ItemWithoutANumberChangesOnlyItsPicture) {
  run.run([this] {
    openView();
    ASSERT_EQ(numberLabels[4], nullptr);
    moveTo(itemCentre(4));
    expectHighlighted(4);
    moveTo(itemCentre(5));
    expectHighlighted(5);
  });
}

// The pointer left item 3 for the main window's button; the redrawn item 3 starts normal, and the
// handler still remembers 3 as the last item it handled.
TEST_F(HoverHighlightTest, NewViewOfTheSameItemNeedsAnotherTagFirst) {
  run.run([this] {
    openView();
    moveTo(itemCentre(3));
    user::click(Form1->Button4);
    expectHighlighted(0);
    EXPECT_EQ(hoveredItem, 3);
    moveTo(itemCentre(3));
    expectHighlighted(0);
    moveTo(kBareDrawing);
    moveTo(itemCentre(3));
    expectHighlighted(3);
  });
}

TEST_F(HoverHighlightTest, NewViewWithFewerItemsRestoresTheOldIndexOutOfSight) {
  run.run([this] {
    openView();
    moveTo(itemCentre(6));
    showDetailsOf("S2");
    ASSERT_EQ(detailsItemCount, 2);
    PictureOpens opens(folder.path());
    moveTo(kEmptyWindow);
    EXPECT_EQ(itemHighlighted[6], "0");
    EXPECT_EQ(rowColour(6), clBlack);
    EXPECT_FALSE(quantityLabels[6]->Visible());
    EXPECT_FALSE(detailsImages[6]->Visible());
    EXPECT_EQ(opens.take(), Opened{"data_b/pd.dat"});
  });
}

}  // namespace
