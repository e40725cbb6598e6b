// The preview below the result list: the selected system's drawing with its parts and elements
// laid over it, built anew at every selection change.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/PictureFixtures.h"
#include "app/support/UserInput.h"
#include "common/WidgetTesting.h"

namespace {

using testing_support::grabClient;
using testing_support::near;
using testing_support::pixelAt;

constexpr QRgb kDrawing = qRgb(0, 128, 0);
constexpr QRgb kOtherDrawing = qRgb(120, 60, 160);
constexpr QRgb kKey = qRgb(255, 255, 255);
constexpr QRgb kRed = qRgb(200, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 200);

bool showsColour(const QImage& screen, int x, int y, QRgb colour) {
  return near(pixelAt(screen, x, y), QColor(colour), 2);
}

QRect boundsOf(const TControl* control) {
  return QRect(control->Left(), control->Top(), control->Width(), control->Height());
}

// The places of the items the last preview drew, in item order.
std::vector<QRect> drawnItems() {
  std::vector<QRect> items;
  for (int n = 1; n <= previewItemCount; ++n) items.push_back(boundsOf(previewImages[n]));
  return items;
}

// The result list holds every application of the catalogue, sorted by make.
void listEveryApplication() {
  Form1->Edit1->SetText("PV");
  Form1->getSystemList(Form1);
}

void select(int row) {
  user::clickRow(Form1->ListView1, row);
  ASSERT_EQ(Form1->ListView1->ItemIndex(), row);
}

// The catalogue loses a table while the program runs, through a connection of its own.
void dropTable(const std::string& table) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open("veldo28.bgp", &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, ("DROP TABLE " + table + ";").c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeLogo();
    // Item pictures of 50 x 30: ten columns of the key colour on the left, the body beyond.
    pictures::writePng("data/data_p/10.001.dat", pictures::filled(700, 204, kDrawing));
    pictures::writePng("data/data_p/10.002.dat", pictures::filled(700, 204, kOtherDrawing));
    pictures::writePng("data/data_b/red.dat", pictures::keyedLeft(50, 30, 10, kKey, kRed));
    pictures::writePng("data/data_b/blue.dat", pictures::keyedLeft(50, 30, 10, kKey, kBlue));
  }

  // Runs the program on a catalogue of `sql`; `check` runs with the main window up and every
  // application in the result list.
  void runOn(const std::string& sql, const std::function<void()>& check) {
    folder.writeCatalogue(sql);
    startup.run([&] {
      listEveryApplication();
      boxesBefore = startup.boxes.size();
      check();
    });
  }

  std::size_t newBoxes() const { return startup.boxes.size() - boxesBefore; }

  WorkingFolder folder;
  StartupRun startup;
  std::size_t boxesBefore = 0;
};

TEST_F(PreviewTest, ASelectedSystemShowsItsDrawingWithTheItemsOverIt) {
  // Item 2 starts where item 1's body is: its key columns let item 1 show, its body covers it.
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 100, 20, 50, 30) +
            rows::part("P2", "S1", "1", "blue", 130, 20, 50, 30),
        [] {
          select(0);

          EXPECT_TRUE(previewBackground->Visible());
          EXPECT_FALSE(previewBackground->Enabled());
          EXPECT_EQ(previewBackground->Parent(), Form1);
          EXPECT_EQ(boundsOf(previewBackground), QRect(45, 310, 700, 204));
          ASSERT_EQ(previewItemCount, 2);
          EXPECT_EQ(boundsOf(previewImages[1]), QRect(145, 330, 50, 30));
          EXPECT_EQ(previewImages[1]->Owner(), Form1);
          EXPECT_TRUE(previewImages[1]->Transparent());
          EXPECT_TRUE(previewImages[1]->Enabled());

          const QImage screen = grabClient(*Form1);
          EXPECT_TRUE(showsColour(screen, 50, 315, kDrawing)) << "the drawing";
          EXPECT_TRUE(showsColour(screen, 740, 510, kDrawing)) << "the drawing's far corner";
          EXPECT_TRUE(showsColour(screen, 150, 345, kDrawing)) << "item 1's key colour is left out";
          EXPECT_TRUE(showsColour(screen, 165, 345, kRed)) << "item 1's body";
          EXPECT_TRUE(showsColour(screen, 180, 345, kRed)) << "item 1 through item 2's key colour";
          EXPECT_TRUE(showsColour(screen, 190, 345, kBlue)) << "item 2 covers item 1";
          EXPECT_TRUE(showsColour(screen, 210, 345, kBlue)) << "item 2 beyond item 1";
          EXPECT_FALSE(showsColour(screen, 100, 520, kDrawing)) << "nothing below the drawing";
        });
}

struct DrawnSystem {
  const char* label;
  std::vector<int> lefts;  // Left of each item, in item order; empty: nothing shown
};

TEST_F(PreviewTest, ItemsAreEachDrawnPartFollowedByItsElementsInRowOrder) {
  // Systems in list order A to E; an item's X tells which row it came from.
  const std::string sql =
      rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 10, 0, 5, 5) +
      rows::part("P2", "S1", "1", "red", 20, 0, 5, 5) + rows::element("P2", "blue", 30, 0, 5, 5) +
      rows::element("P2", "blue", 40, 0, 5, 5) + rows::part("P3", "S1", "1", "red", 50, 0, 5, 5) +
      rows::application("S2", "10.001", "2", "B") + rows::part("P4", "S2", "0", "red", 60, 0, 5, 5) +
      rows::element("P4", "blue", 70, 0, 5, 5) + rows::element("P4", "blue", 80, 0, 5, 5) +
      rows::application("S3", "10.001", "3", "C") + rows::part("P5", "S3", "0", "red", 90, 0, 5, 5) +
      rows::part("P6", "S3", nullptr, "red", 100, 0, 5, 5) + rows::application("S4", "10.001", "4", "D") +
      rows::application("S5", "10.001", "5", "E") + rows::part("P7", "S5", "1", "red", 110, 0, 5, 5);
  const DrawnSystem systems[] = {
      {"three parts, the second with two elements", {55, 65, 75, 85, 95}},
      {"a hidden part's elements", {115, 125}},
      {"only hidden parts, no elements", {}},
      {"no parts at all", {}},
      {"one part", {155}},
  };
  runOn(sql, [&] {
    for (int row = 0; row < static_cast<int>(std::size(systems)); ++row) {
      SCOPED_TRACE(systems[row].label);
      select(row);
      std::vector<int> lefts;
      for (const QRect& item : drawnItems()) lefts.push_back(item.left());
      EXPECT_EQ(lefts, systems[row].lefts);
      EXPECT_EQ(previewBackground->Visible(), !systems[row].lefts.empty());
      for (int n = 1; n <= previewItemCount; ++n) EXPECT_TRUE(previewImages[n]->Visible());
    }
  });
}

struct VisibleText {
  const char* stored;
  bool drawn;
};

TEST_F(PreviewTest, APartIsDrawnOnlyWhenVisibleReadsAsTheNumberOne) {
  const VisibleText texts[] = {
      {"1", true},      {" 1", true}, {"+1", true}, {"01", true},  {"1abc", true}, {"0", false},
      {nullptr, false}, {"", false},  {"2", false}, {"-1", false}, {"yes", false}, {"1.5", true},
  };
  std::string sql;
  for (int i = 0; i < static_cast<int>(std::size(texts)); ++i) {
    const std::string id = "S" + std::to_string(i);
    const std::string make = std::string(1, static_cast<char>('A' + i));
    sql += rows::application(id, "10.001", std::to_string(i), make) +
           rows::part("P" + id, id, texts[i].stored, "red", 0, 0, 5, 5);
  }
  runOn(sql, [&] {
    for (int row = 0; row < static_cast<int>(std::size(texts)); ++row) {
      SCOPED_TRACE(texts[row].stored != nullptr ? texts[row].stored : "NULL");
      select(row);
      EXPECT_EQ(previewItemCount, texts[row].drawn ? 1 : 0);
    }
  });
}

struct Bounds {
  int left;
  int top;
  int width;
  int height;
};

struct StoredPlacement {
  const char* label;
  const char* x;
  const char* y;
  const char* w;
  const char* h;
  Bounds expected;
};

TEST_F(PreviewTest, StoredPlacementsAreReadAsNumbersFromTheDrawingsCorner) {
  constexpr int kFar = 1 << 20;  // a million pixels out of sight
  const StoredPlacement placements[] = {
      {"plain numbers", "100", "20", "50", "30", {145, 330, 50, 30}},
      {"NULL everywhere", nullptr, nullptr, nullptr, nullptr, {45, 310, 0, 0}},
      {"signs, blanks and trailing text", "-10", " 7", "12abc", "x9", {35, 317, 12, 0}},
      {"negative sizes", "0", "0", "-5", "-5", {45, 310, 0, 0}},
      {"the ends of the int range",
       "2147483647",
       "-2147483648",
       "2147483647",
       "99999999999",
       {45 + kFar, 310 - kFar, kFar, kFar}},
  };
  std::string sql;
  for (int i = 0; i < static_cast<int>(std::size(placements)); ++i) {
    const StoredPlacement& p = placements[i];
    const std::string id = "S" + std::to_string(i);
    sql += rows::application(id, "10.001", std::to_string(i), std::string(1, static_cast<char>('A' + i))) +
           rows::part("P" + id, id, "1", "red", p.x, p.y, p.w, p.h);
  }
  runOn(sql, [&] {
    for (int row = 0; row < static_cast<int>(std::size(placements)); ++row) {
      SCOPED_TRACE(placements[row].label);
      select(row);
      ASSERT_EQ(previewItemCount, 1);
      const TImage* item = previewImages[1];
      const Bounds& expected = placements[row].expected;
      EXPECT_EQ(item->Left(), expected.left);
      EXPECT_EQ(item->Top(), expected.top);
      EXPECT_EQ(item->Width(), expected.width);
      EXPECT_EQ(item->Height(), expected.height);
      grabClient(*Form1);  // painting an item far out of the window is harmless
    }
  });
}

TEST_F(PreviewTest, FewerItemsRecreateTheirSlotsAndLeaveTheOthersHidden) {
  std::string sql = rows::application("S7", "10.001", "1", "A") + rows::application("S4", "10.002", "1", "B");
  for (int i = 0; i < 7; ++i) sql += rows::part("A" + std::to_string(i), "S7", "1", "red", 10 * i, 0, 5, 5);
  for (int i = 0; i < 4; ++i)
    sql += rows::part("B" + std::to_string(i), "S4", "1", "blue", 10 * i, 100, 5, 5);
  runOn(sql, [] {
    select(0);
    ASSERT_EQ(previewItemCount, 7);
    for (int n = 1; n <= 7; ++n) previewImages[n]->SetTag(99);  // marks the controls of this preview

    select(1);
    ASSERT_EQ(previewItemCount, 4);
    for (int n = 1; n <= 4; ++n) {
      SCOPED_TRACE(n);
      EXPECT_EQ(previewImages[n]->Tag(), 0) << "a new control";
      EXPECT_EQ(previewImages[n]->Top(), 410);
      EXPECT_TRUE(previewImages[n]->Visible());
    }
    for (int n = 5; n <= 7; ++n) {
      SCOPED_TRACE(n);
      EXPECT_EQ(previewImages[n]->Tag(), 99) << "the old control, kept";
      EXPECT_EQ(previewImages[n]->Top(), 310);
      EXPECT_FALSE(previewImages[n]->Visible());
      EXPECT_FALSE(previewImages[n]->Enabled());
    }

    select(0);
    ASSERT_EQ(previewItemCount, 7);
    for (int n = 1; n <= 7; ++n) {
      EXPECT_NE(previewImages[n]->Tag(), 99) << n;
      EXPECT_TRUE(previewImages[n]->Visible()) << n;
    }
  });
}

TEST_F(PreviewTest, LosingTheSelectionHidesThePreview) {
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 100, 20, 50, 30),
        [] {
          select(0);
          ASSERT_TRUE(previewBackground->Visible());

          user::clickBelowRows(Form1->ListView1);
          ASSERT_EQ(Form1->ListView1->ItemIndex(), -1);
          EXPECT_FALSE(previewBackground->Visible());
          EXPECT_FALSE(previewImages[1]->Visible());
          const QImage screen = grabClient(*Form1);
          EXPECT_FALSE(showsColour(screen, 50, 315, kDrawing));
          EXPECT_FALSE(showsColour(screen, 165, 345, kRed));
        });
}

TEST_F(PreviewTest, MovingTheSelectionHidesForTheRowLostAndDrawsForTheRowGained) {
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 100, 20, 50, 30) +
            rows::application("S2", "10.002", "1", "B") +
            rows::part("P2", "S2", "1", "blue", 300, 50, 50, 30),
        [] {
          // What the preview shows after each notification, in the order they come.
          struct Notification {
            bool selected;
            bool backgroundShown;
          };
          std::vector<Notification> seen;
          const TLVSelectItemEvent handler = Form1->ListView1->OnSelectItem;
          Form1->ListView1->OnSelectItem = [&](TObject* sender, TListItem* item, bool selected) {
            handler(sender, item, selected);
            seen.push_back({selected, previewBackground->Visible()});
          };

          select(0);
          seen.clear();
          user::pressKey(Form1->ListView1, Qt::Key_Down);
          ASSERT_EQ(seen.size(), 2u);
          EXPECT_FALSE(seen[0].selected);
          EXPECT_FALSE(seen[0].backgroundShown);
          EXPECT_TRUE(seen[1].selected);
          EXPECT_TRUE(seen[1].backgroundShown);
          ASSERT_EQ(previewItemCount, 1);
          EXPECT_EQ(boundsOf(previewImages[1]), QRect(345, 360, 50, 30));
          QImage screen = grabClient(*Form1);
          EXPECT_TRUE(showsColour(screen, 50, 315, kOtherDrawing));
          EXPECT_TRUE(showsColour(screen, 380, 375, kBlue));

          user::pressKey(Form1->ListView1, Qt::Key_Up);
          screen = grabClient(*Form1);
          EXPECT_TRUE(showsColour(screen, 50, 315, kDrawing));
          EXPECT_TRUE(showsColour(screen, 165, 345, kRed));
          EXPECT_FALSE(showsColour(screen, 380, 375, kBlue));
          Form1->ListView1->OnSelectItem = handler;
        });
}

TEST_F(PreviewTest, AMissingDrawingLeavesThePreviousOneUnderTheNewItems) {
  // System 10.003 has no drawing file; its second part names no picture file either.
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 100, 20, 50, 30) +
            rows::application("S2", "10.003", "1", "B") +
            rows::part("P2", "S2", "1", "blue", 300, 50, 50, 30) +
            rows::part("P3", "S2", "1", "missing", 500, 50, 50, 30),
        [&] {
          select(0);
          select(1);
          EXPECT_TRUE(previewBackground->Visible());
          ASSERT_EQ(previewItemCount, 2);
          EXPECT_EQ(previewImages[2]->Picture()->Width(), 0) << "an empty item still counts";
          const QImage screen = grabClient(*Form1);
          EXPECT_TRUE(showsColour(screen, 50, 315, kDrawing));
          EXPECT_TRUE(showsColour(screen, 165, 345, kDrawing)) << "the first system's item is hidden";
          EXPECT_TRUE(showsColour(screen, 380, 375, kBlue));
          EXPECT_TRUE(showsColour(screen, 560, 375, kDrawing)) << "the empty item shows what is under it";
          EXPECT_EQ(newBoxes(), 0u);
        });
}

TEST_F(PreviewTest, AMissingElementsTableShowsOneBoxPerPartRowAndStillDrawsTheParts) {
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 100, 20, 50, 30) +
            rows::part("P2", "S1", "0", "red", 200, 20, 50, 30) +
            rows::part("P3", "S1", "1", "blue", 300, 20, 50, 30),
        [&] {
          dropTable("T_U_ELEMENT");
          select(0);
          ASSERT_EQ(newBoxes(), 3u);
          for (std::size_t i = boxesBefore; i < startup.boxes.size(); ++i) {
            EXPECT_EQ(startup.boxes[i].kind, platform::BoxKind::Message);
            EXPECT_EQ(startup.boxes[i].text, "SQLITE_ERROR[1]: no such table: T_U_ELEMENT");
          }
          EXPECT_EQ(previewItemCount, 2);
          EXPECT_TRUE(previewBackground->Visible());
          const QImage screen = grabClient(*Form1);
          EXPECT_TRUE(showsColour(screen, 165, 345, kRed));
          EXPECT_TRUE(showsColour(screen, 365, 345, kBlue));
        });
}

TEST_F(PreviewTest, AFailingPartsQueryShowsOneBoxAndHidesTheDrawing) {
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 100, 20, 50, 30) +
            rows::application("S2", "10.002", "1", "B") +
            rows::part("P2", "S2", "1", "blue", 300, 50, 50, 30),
        [&] {
          select(0);
          ASSERT_EQ(previewItemCount, 1);
          dropTable("TLUMIK");  // joined by the parts query only

          select(1);
          ASSERT_EQ(newBoxes(), 1u);
          EXPECT_EQ(startup.boxes.back().text, "SQLITE_ERROR[1]: no such table: TLUMIK");
          EXPECT_EQ(previewItemCount, 0);
          EXPECT_FALSE(previewBackground->Visible());
          EXPECT_FALSE(previewImages[1]->Visible());
        });
}

TEST_F(PreviewTest, MoreThan29ItemsDrawTheFirst29AndLeaveTheBackgroundAlone) {
  std::string sql = rows::application("S1", "10.001", "1", "A");
  for (int i = 0; i < 25; ++i) sql += rows::part("P" + std::to_string(i), "S1", "1", "red", 10 * i, 0, 5, 5);
  sql += rows::part("PX", "S1", "0", "red", 0, 0, 5, 5);
  for (int i = 25; i < 32; ++i) sql += rows::element("PX", "blue", 10 * i, 100, 5, 5);
  runOn(sql, [] {
    TImage* background = previewBackground;
    select(0);
    ASSERT_EQ(previewItemCount, 29);
    EXPECT_EQ(previewImages[29]->Left(), 45 + 280);
    EXPECT_EQ(previewImages[30], background);
    EXPECT_EQ(boundsOf(previewBackground), QRect(45, 310, 700, 204));
    EXPECT_TRUE(previewBackground->Visible());
    int shownImages = 0;
    for (int i = 0; i < Form1->ControlCount(); ++i) {
      auto* image = dynamic_cast<TImage*>(Form1->Controls(i));
      if (image != nullptr && image->Visible()) ++shownImages;
    }
    EXPECT_EQ(shownImages, 29 + 1);
  });
}

TEST_F(PreviewTest, PictureNamesOfAnyLengthAreSafe) {
  // 40 characters: beyond what the catalogue's names use, and loaded all the same. 300: beyond
  // any path the loader takes, so nothing is loaded, and nothing is written out of bounds.
  const std::string longName(40, 'n');
  const std::string hugeName(300, 'h');
  pictures::writePng("data/data_b/" + longName + ".dat", pictures::filled(50, 30, kRed));
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", longName, 0, 0, 50, 30) +
            rows::part("P2", "S1", "1", hugeName, 100, 0, 50, 30) +
            rows::application("S2", hugeName, "1", "B") + rows::part("P3", "S2", "1", "red", 0, 0, 50, 30),
        [] {
          select(0);
          ASSERT_EQ(previewItemCount, 2);
          EXPECT_EQ(previewImages[1]->Picture()->Width(), 50);
          EXPECT_EQ(previewImages[2]->Picture()->Width(), 0);

          select(1);
          EXPECT_EQ(previewItemCount, 1);
          EXPECT_TRUE(showsColour(grabClient(*Form1), 50, 470, kDrawing)) << "the drawing shown before";
        });
}

TEST_F(PreviewTest, EveryDecodeReleasesItsBlockOnce) {
  runOn(rows::application("S1", "10.001", "1", "A") + rows::part("P1", "S1", "1", "red", 100, 20, 50, 30) +
            rows::part("P2", "S1", "1", "missing", 200, 20, 50, 30) +
            rows::element("P2", "blue", 300, 20, 50, 30) + rows::application("S2", "10.002", "1", "B") +
            rows::part("P3", "S2", "1", "blue", 0, 0, 50, 30),
        [] {
          GlobalBlockWatch watch;
          select(0);
          EXPECT_EQ(watch.pictureBlocks(), 3) << "the drawing, red and blue";
          select(1);
          user::clickBelowRows(Form1->ListView1);
          EXPECT_EQ(watch.pictureBlocks(), 5);
          EXPECT_EQ(watch.held(), 0);
          EXPECT_EQ(watch.strayReleases(), 0);
        });
}

}  // namespace
