// One user's way through the main window, with the mouse and the keyboard only: a make, a model,
// a year, a capacity, both filters, then a number typed into the search field and sent with
// Enter, and what the window shows after each step.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CascadeTesting.h"
#include "app/support/CatalogRun.h"
#include "app/support/UserInput.h"
#include "common/WidgetTesting.h"

namespace {

using namespace cascade::texts;

using cascade::choose;
using cascade::entriesOf;
using cascade::rowsOf;
using cascade::statusLine;
using testing_support::grabClient;
using testing_support::near;
using testing_support::pixelAt;

const char* const kCatalogue =
    "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CYPR_START, CYPR_END, CUCP, CUCP_VAL, MCAT,"
    " MDIE, ITER, UKLADY, ADDI) VALUES"
    " ('101', 'V-101', 'Audi', 'A4', 'Limousine', '1995-2001', '1995', '2001', '1.8 20V', '1781', 'CAT', '',"
    "  '1', 'V-101', ''),"
    " ('102', 'V-102', 'Audi', 'A4', 'Avant', '1996-2001', '1996', '2001', '1.9 TDI', '1896', 'CAT', "
    "'Diesel',"
    "  '1', 'V-102', 'Quattro'),"
    " ('102', 'V-102', 'Audi', 'A4', 'Limousine', '1996-2001', '1996', '2001', '1.9 TDI', '1896', '', "
    "'Diesel',"
    "  '2', 'V-102', ''),"
    " ('201', 'V-201', 'BMW', '3er', 'Touring', '1990-1998', '1990', '1998', '1.6', '1596', 'CAT', '',"
    "  '1', 'V-201', '');"
    "INSERT INTO T_U (ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H, OE, VELDO) VALUES"
    " ('P1', '201', 'T1', '1', 'p', '0', '0', '10', '10', '4711', 'P-1');";

#if CATALOG_POLISH
const char* const kOneHit = "Znaleziono 1 układów spełniających Twoje kryteria wyszukiwania.";
const char* const kThreeHits = "Znaleziono 3 układów spełniających Twoje kryteria wyszukiwania.";
const char* const kSearchHit = "Znaleziono 1 układów zawierających tłumik o numerze  4711";
#else
const char* const kOneHit = "Es würden 1 Abgasanlagen nach Ihren Auswahlkriterien gefunden.";
const char* const kThreeHits = "Es würden 3 Abgasanlagen nach Ihren Auswahlkriterien gefunden.";
const char* const kSearchHit = "Abgasanlagen, die den Schalldämpfer mit der Nummer 4711 beinhalten";
#endif

// Pixels of the status line's text drawn near `colour`.
int statusPixelsNear(const QColor& colour) {
  const QImage window = grabClient(*Form1);
  const TLabel* status = Form1->Label5;
  int count = 0;
  for (int y = status->Top(); y < status->Top() + status->Height(); ++y) {
    for (int x = status->Left(); x < status->Left() + status->Width(); ++x) {
      if (near(pixelAt(window, x, y), colour, 60)) ++count;
    }
  }
  return count;
}

class UserPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeCatalogue(kCatalogue);
    folder.writeLogo();
  }

  WorkingFolder folder;
  StartupRun run;
};

TEST_F(UserPathTest, SelectionThenNumberSearchSentWithEnter) {
  bool ran = false;
  EXPECT_EQ(run.run([&] {
    cascade::holdUpdateCheck(Form1);

    choose(Form1->ComboBox1, "Audi");
    EXPECT_EQ(entriesOf(Form1->ComboBox2).size(), 2u);
    EXPECT_TRUE(cascade::holdsTheFocus(Form1->ComboBox2));

    choose(Form1->ComboBox2, "A4");
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 3);
    EXPECT_TRUE(Form1->Button4->Enabled());

    choose(Form1->ComboBox3, "1998");
    EXPECT_EQ(statusLine(Form1), kThreeHits);

    choose(Form1->ComboBox4, "1896");
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 2);

    user::click(Form1->CheckBox1);
    user::click(Form1->CheckBox2);
    EXPECT_TRUE(Form1->CheckBox1->Checked());
    EXPECT_TRUE(Form1->CheckBox2->Checked());
    EXPECT_EQ(rowsOf(Form1->ListView1),
              (std::vector<cascade::ListRow>{
                  {"V-102", "Audi", "A4", "Avant", "1996-2001", "1.9 TDI", "1896", "Quattro"}}));
    EXPECT_EQ(statusLine(Form1), kOneHit);
    EXPECT_GT(statusPixelsNear(Qt::black), 0);
    EXPECT_EQ(statusPixelsNear(Qt::red), 0);

    user::type(Form1->Edit1, "4711");
    user::pressKey(Form1->Edit1, Qt::Key_Return);
    EXPECT_EQ(statusLine(Form1), kSearchHit);
    EXPECT_EQ(rowsOf(Form1->ListView1).at(0).at(0), "V-201");
    EXPECT_EQ(entriesOf(Form1->ComboBox2), std::vector<std::string>{kModelPlaceholderWithoutMake});
    EXPECT_FALSE(Form1->ComboBox2->Enabled());
    EXPECT_FALSE(Form1->CheckBox1->Checked());
    EXPECT_FALSE(Form1->CheckBox1->Enabled());
    EXPECT_EQ(Form1->Edit1->Text().str(), "4711");

    // A number nothing holds: the red message, on screen too, and no Details.
    user::type(Form1->Edit1, "0");
    user::pressKey(Form1->Edit1, Qt::Key_Return);
    EXPECT_EQ(statusLine(Form1), kNoHits);
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 0);
    EXPECT_FALSE(Form1->Button4->Enabled());
    EXPECT_GT(statusPixelsNear(Qt::red), 0);
    ran = true;
  }),
            0);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(run.boxes.empty());
}

}  // namespace
