// The details window's layout for the number of items, and its parts list: one row of three
// labels per drawn item with a number, on the item's own line.
#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/DetailsCatalogue.h"
#include "common/WidgetTesting.h"

namespace {

using details_testing::showDetailsOf;
using details_testing::systemSql;
using details_testing::TestElement;
using details_testing::TestPart;

#if CATALOG_POLISH
const char* const kKind = "Tłumik środkowy";
#else
const char* const kKind = "Mittelschalldämpfer";
#endif

// A system of `items` items: one visible part with `items - 1` elements (none for 0 items).
std::string systemOfItems(const std::string& id, int items) {
  if (items == 0) return systemSql(id, id + "-v", {});
  std::vector<std::string> numbers;
  for (int i = 1; i < items; ++i) numbers.push_back(id + "-e" + std::to_string(i));
  const std::string key = id + "-p";
  const std::string number = id + "-n";
  TestPart part{key.c_str(),      "1", number.c_str(), "p", 0, 0, 10, 10, "Mittelschalldämpfer",
                "Tłumik środkowy"};
  for (const std::string& n : numbers) part.elements.push_back({n.c_str(), "e", 0, 0, 5, 5, "2"});
  return systemSql(id, id + "-v", {part});
}

// The labels of the window that carry `tag` and are shown.
int shownLabelsTagged(int tag) {
  int count = 0;
  for (int i = 0; i < detailsForm->ControlCount(); ++i) {
    auto* label = dynamic_cast<TLabel*>(detailsForm->Controls(i));
    if (label != nullptr && label->Visible() && label->Tag() == tag) ++count;
  }
  return count;
}

// Whether the window shows dark text pixels within the rectangle.
bool showsTextIn(const QRect& rect) {
  const QImage shot = testing_support::grabClient(*detailsForm);
  for (int y = rect.top(); y <= rect.bottom() && y < shot.height(); ++y) {
    for (int x = rect.left(); x <= rect.right() && x < shot.width(); ++x) {
      if (testing_support::pixelAt(shot, x, y).lightness() < 100) return true;
    }
  }
  return false;
}

class PartsListTest : public ::testing::Test {
 protected:
  void SetUp() override { folder.writeLogo(); }

  WorkingFolder folder;
  StartupRun run;
};

struct LayoutCase {
  int items;
  int width;
  int ruleHeight;
  int squareTop;
};

class DetailsLayoutTest : public PartsListTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(DetailsLayoutTest, WidthRulesAndSquareFollowTheItemCount) {
  const LayoutCase& layout = GetParam();
  folder.writeCatalogue(systemOfItems("S1", layout.items));
  run.run([&] {
    showDetailsOf("S1");
    EXPECT_TRUE(detailsForm->Visible());
    EXPECT_EQ(detailsItemCount, layout.items);
    EXPECT_EQ(detailsForm->Width(), layout.width);
    for (TBevel* rule : {detailsBevels[2], detailsBevels[3]}) {
      EXPECT_EQ(rule->Top(), 315);
      EXPECT_EQ(rule->Height(), layout.ruleHeight);
    }
    EXPECT_EQ(detailsShape->Left(), 610);
    EXPECT_EQ(detailsShape->Top(), layout.squareTop);
  });
}

INSTANTIATE_TEST_SUITE_P(Items, DetailsLayoutTest,
                         ::testing::Values(LayoutCase{0, 730, 27, 342}, LayoutCase{1, 730, 45, 360},
                                           LayoutCase{10, 730, 207, 522}, LayoutCase{11, 750, 225, 540},
                                           LayoutCase{29, 750, 549, 864}),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                           return std::to_string(info.param.items) + "Items";
                         });

TEST_F(PartsListTest, WindowStaysWideWhileTheRulesFollowALaterSmallerView) {
  folder.writeCatalogue(systemOfItems("S1", 12) + systemOfItems("S2", 3));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_EQ(detailsForm->Width(), 750);
    showDetailsOf("S2");
    EXPECT_EQ(detailsForm->Width(), 750);
    EXPECT_EQ(detailsBevels[2]->Height(), 81);
    EXPECT_EQ(detailsBevels[3]->Height(), 81);
    EXPECT_EQ(detailsShape->Top(), 396);
  });
}

TEST_F(PartsListTest, EachNumberedItemGetsARowOnItsOwnLine) {
  TestPart part{"a", "1", "30.100", "pa", 0, 0, 10, 10, "Mittelschalldämpfer", "Tłumik środkowy"};
  part.elements = {{nullptr, "e1", 0, 0, 5, 5, "4"}, {"91.3", "e3", 0, 0, 5, 5, nullptr}};
  folder.writeCatalogue(systemSql("S1", "10.001", {part}));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_EQ(detailsItemCount, 3);
    EXPECT_EQ(numberLabels[2], nullptr) << "item 2 has no number";
    EXPECT_EQ(nameLabels[2], nullptr);
    EXPECT_EQ(quantityLabels[2], nullptr);
    EXPECT_EQ(detailsBevels[3]->Top() + detailsBevels[3]->Height(), 396) << "the rules count every item";

    TLabel textHeight(nullptr);
    textHeight.SetCaption("30.100");
    textHeight.Font()->SetSize(10);

    struct Column {
      TLabel* const* labels;
      int left;
      int width;
      TAlignment alignment;
      const char* captions[3];  // items 1 and 3
    };
    const Column columns[] = {
        {numberLabels, 324, 72, taCenter, {"30.100", nullptr, "91.3"}},
        {nameLabels, 410, 200, taLeftJustify, {kKind, nullptr, ""}},
        {quantityLabels, 615, 70, taCenter, {"1", nullptr, ""}},
    };
    for (const Column& column : columns) {
      for (int item : {1, 3}) {
        SCOPED_TRACE(std::to_string(column.left) + " item " + std::to_string(item));
        const TLabel* label = column.labels[item];
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(utf8(label->Caption().c_str()), column.captions[item - 1]);
        EXPECT_EQ(label->Owner(), detailsForm);
        EXPECT_EQ(label->Parent(), detailsForm);
        EXPECT_EQ(label->Left(), column.left);
        EXPECT_EQ(label->Top(), 325 + 18 * item);
        EXPECT_EQ(label->Width(), column.width);
        EXPECT_EQ(label->Height(), textHeight.Height()) << "the height of its text at size 10";
        EXPECT_FALSE(label->AutoSize());
        EXPECT_EQ(label->Alignment(), column.alignment);
        EXPECT_EQ(label->Font()->Size(), 10);
        EXPECT_EQ(label->Font()->Color(), clBlack);
        EXPECT_TRUE(label->Transparent());
        EXPECT_TRUE(label->Visible());
        EXPECT_EQ(label->Tag(), item);
        EXPECT_EQ(label->OnMouseMove.Data(), Form1);
      }
    }
    EXPECT_TRUE(showsTextIn(QRect(324, 343, 72, 14)));
    EXPECT_FALSE(showsTextIn(QRect(324, 361, 72, 14))) << "an empty line for item 2";
    EXPECT_TRUE(showsTextIn(QRect(324, 379, 72, 14)));
  });
}

TEST_F(PartsListTest, EachIndexHoldsOneLiveRowAfterViewsInARow) {
  folder.writeCatalogue(systemOfItems("S1", 4) + systemOfItems("S2", 4));
  run.run([] {
    const int fixedLayout = detailsForm->ComponentCount();
    showDetailsOf("S1");
    const int oneView = detailsForm->ComponentCount();
    EXPECT_EQ(oneView, fixedLayout + 16 + 4 * 3);
    showDetailsOf("S2");
    showDetailsOf("S1");
    EXPECT_EQ(detailsForm->ComponentCount(), oneView) << "earlier rows are deleted, not left beneath";
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(shownLabelsTagged(i), 3) << i;
    EXPECT_EQ(utf8(numberLabels[2]->Caption().c_str()), "S1-e1");
  });
}

TEST_F(PartsListTest, FewerItemsLeaveTheRestOfTheEarlierViewHidden) {
  // Item 7 of the first view has no number, so its index never gets labels.
  TestPart part{"a", "1", "30.1", "p", 0, 0, 10, 10};
  static const char* const numbers[] = {"e2", "e3", "e4",  "e5",  "e6", nullptr,
                                        "e8", "e9", "e10", "e11", "e12"};
  for (const char* number : numbers) part.elements.push_back({number, "e", 0, 0, 5, 5, "1"});
  folder.writeCatalogue(systemSql("S1", "10.001", {part}) + systemOfItems("S2", 5) + systemOfItems("S3", 0));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_EQ(detailsItemCount, 12);
    ASSERT_EQ(numberLabels[7], nullptr);
    showDetailsOf("S2");
    ASSERT_EQ(detailsItemCount, 5);
    for (int i = 1; i <= 5; ++i) {
      EXPECT_TRUE(detailsImages[i]->Visible()) << i;
      EXPECT_EQ(shownLabelsTagged(i), 3) << i;
    }
    for (int i = 6; i <= 12; ++i) {
      SCOPED_TRACE(i);
      EXPECT_FALSE(detailsImages[i]->Visible());
      EXPECT_FALSE(detailsImages[i]->Enabled());
      for (TLabel* label : {numberLabels[i], nameLabels[i], quantityLabels[i]}) {
        if (i == 7) {
          EXPECT_EQ(label, nullptr);
          continue;
        }
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->Visible());
        EXPECT_FALSE(label->Enabled());
        EXPECT_EQ(label->Tag(), 0);
        EXPECT_EQ(label->Left(), 0);
      }
    }
    showDetailsOf("S3");
    EXPECT_EQ(detailsItemCount, 0);
    for (int i = 1; i <= 12; ++i) EXPECT_FALSE(detailsImages[i]->Visible()) << i;
    for (int i = 1; i <= 12; ++i) EXPECT_EQ(shownLabelsTagged(i), 0) << i;
  });
}

// The window keeps its designed 600-pixel height; a long list runs past its foot. The window
// can be made taller by the user, which brings the last rows into sight.
TEST_F(PartsListTest, RowsBelowTheWindowsFootShowOnceTheUserMakesItTaller) {
  folder.writeCatalogue(systemOfItems("S1", 29));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_EQ(numberLabels[29]->Top(), 847);
    EXPECT_EQ(detailsForm->Height(), 600);
    EXPECT_LT(detailsForm->ClientHeight(), 847);
    detailsForm->Widget()->resize(detailsForm->Widget()->width(), 900);
    EXPECT_EQ(detailsForm->ClientHeight(), 900);
    EXPECT_TRUE(showsTextIn(QRect(324, 847, 72, 14)));
  });
}

}  // namespace
