// The "Details" click: the check for a selected row, the hiding of the previous view and the
// system data panel of eight caption and value pairs.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/DetailsCatalogue.h"
#include "app/support/UserInput.h"

namespace {

using details_testing::listSystems;
using details_testing::showDetailsOf;
using details_testing::systemSql;
using details_testing::TestPart;

#if CATALOG_POLISH
const char* const kCaptions[] = {
    "Układ:", "Marka:", "Model:", "Wersja:", "Nadwozie:", "Lata produkcji:", "Silnik:", "Dodatkowe:"};
#else
const char* const kCaptions[] = {"Abgasanlage:", "Marke:",   "Modell:", "Version:",
                                 "Ausführung:",  "Baujahr:", "Motor:",  "Zusatzinformation:"};
#endif

// One AUTA row whose every column names its own position, so that a value shows where it came
// from; `iteration` and the system id are the row key.
std::string positionedRow(const char* id, const char* fifteen = "'col 15'") {
  return std::string("INSERT INTO AUTA VALUES ('") + id +
         "', 'col 1', 'col 2', 'col 3', 'col 4', 'col 5', 'col 6', 'col 7', 'col 8', 'col 9',"
         " 'col 10', 'col 11', 'col 12', '1', 'col 14', " +
         fifteen + ");";
}

// A label of the panel as the user sees it.
struct PanelLabel {
  int top;
  int left;
  std::string text;
  bool bold;
  int size;
};

// The visible labels of the data panel (captions at Left 15, values at Left 29), top to bottom.
std::vector<PanelLabel> panel() {
  std::vector<PanelLabel> labels;
  for (int i = 0; i < detailsForm->ControlCount(); ++i) {
    auto* label = dynamic_cast<TLabel*>(detailsForm->Controls(i));
    if (label == nullptr || !label->Visible() || (label->Left() != 15 && label->Left() != 29)) continue;
    labels.push_back({label->Top(), label->Left(), utf8(label->Caption().c_str()),
                      (label->Font()->Style() & fsBold) != 0, label->Font()->Size()});
  }
  std::stable_sort(labels.begin(), labels.end(),
                   [](const PanelLabel& a, const PanelLabel& b) { return a.top < b.top; });
  return labels;
}

std::vector<std::string> panelTexts() {
  std::vector<std::string> texts;
  for (const PanelLabel& label : panel()) texts.push_back(label.text);
  return texts;
}

class DetailsViewTest : public ::testing::Test {
 protected:
  void SetUp() override { folder.writeLogo(); }

  WorkingFolder folder;
  StartupRun run;
};

TEST_F(DetailsViewTest, PanelShowsTheRowsEightPairsInTheBuildsLanguage) {
  folder.writeCatalogue(positionedRow("S1"));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_TRUE(detailsForm->Visible());
    const char* const values[] = {"col 1", "col 2", "col 3", "col 4", "col 5", "col 6", "col 9", "col 15"};
    const std::vector<PanelLabel> labels = panel();
    ASSERT_EQ(labels.size(), 16u);
    for (int k = 0; k < 8; ++k) {
      SCOPED_TRACE(k + 1);
      const PanelLabel& caption = labels[2 * k];
      const PanelLabel& value = labels[2 * k + 1];
      EXPECT_EQ(caption.text, kCaptions[k]);
      EXPECT_EQ(caption.left, 15);
      EXPECT_EQ(caption.top, 235 + 35 * k);
      EXPECT_TRUE(caption.bold);
      EXPECT_EQ(caption.size, 11);
      EXPECT_EQ(value.text, values[k]);
      EXPECT_EQ(value.left, 29);
      EXPECT_EQ(value.top, 253 + 35 * k);
      EXPECT_FALSE(value.bold);
      EXPECT_EQ(value.size, 11);
    }
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(DetailsViewTest, PanelLabelsJoinTheWindowCaptionThenValuePairByPair) {
  folder.writeCatalogue(positionedRow("S1"));
  run.run([] {
    const int before = detailsForm->ControlCount();
    showDetailsOf("S1");
    std::vector<std::string> joined;
    for (int i = before; i < detailsForm->ControlCount(); ++i) {
      if (auto* label = dynamic_cast<TLabel*>(detailsForm->Controls(i)))
        joined.push_back(utf8(label->Caption().c_str()));
    }
    ASSERT_EQ(joined.size(), 16u);
    EXPECT_EQ(joined[0], kCaptions[0]);
    EXPECT_EQ(joined[1], "col 1");
    EXPECT_EQ(joined[2], kCaptions[1]);
    EXPECT_EQ(joined[14], kCaptions[7]);
    EXPECT_EQ(joined[15], "col 15");
  });
}

TEST_F(DetailsViewTest, NullShowsAsNullInBracketsInTheLastPairAndEmptyInTheOthers) {
  folder.writeCatalogue(
      "INSERT INTO AUTA VALUES ('S1', NULL, NULL, NULL, NULL, NULL, NULL, '2001', '2005', NULL, '1.6', '', "
      "'',"
      " '1', NULL, NULL);");
  run.run([] {
    showDetailsOf("S1");
    const std::vector<std::string> texts = panelTexts();
    ASSERT_EQ(texts.size(), 16u);
    for (int k = 0; k < 7; ++k) EXPECT_EQ(texts[2 * k + 1], "") << k + 1;
    EXPECT_EQ(texts[15], "(null)");
  });
}

TEST_F(DetailsViewTest, LongAdditionalInformationIsShownWhole) {
  const std::string additional(400, 'x');
  folder.writeCatalogue(positionedRow("S1", ("'" + additional + "'").c_str()));
  run.run([&] {
    showDetailsOf("S1");
    const std::vector<std::string> texts = panelTexts();
    ASSERT_EQ(texts.size(), 16u);
    EXPECT_EQ(texts[15], additional);
  });
}

TEST_F(DetailsViewTest, ClickWithNoRowSelectedShowsTheEnglishBoxAndLeavesTheOpenWindowAsItWas) {
  folder.writeCatalogue(systemSql("S1", "10.001", {{"p1", "1", "30.1", "pic", 10, 10, 40, 20}}) +
                        systemSql("S2", "10.002", {}));
  run.run([this] {
    showDetailsOf("S1");
    const std::vector<std::string> before = panelTexts();
    const int components = detailsForm->ComponentCount();
    listSystems("S2");  // a new list: rows, none selected
    ASSERT_EQ(Form1->ListView1->ItemIndex(), -1);
    ASSERT_TRUE(Form1->Button4->Enabled());
    user::click(Form1->Button4);

    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::MessageBox);
    EXPECT_EQ(run.boxes[0].text, "Select exhaust system before viewing details.");
    EXPECT_EQ(run.boxes[0].caption, "ERROR");
    EXPECT_EQ(run.boxes[0].flags, 0x30u);
    EXPECT_TRUE(detailsForm->Visible());
    EXPECT_EQ(panelTexts(), before);
    EXPECT_EQ(detailsForm->ComponentCount(), components);
    EXPECT_EQ(detailsItemCount, 1);
    EXPECT_TRUE(detailsImages[1]->Visible());
    ASSERT_NE(numberLabels[1], nullptr);
    EXPECT_TRUE(numberLabels[1]->Visible());
  });
}

TEST_F(DetailsViewTest, EachViewReplacesThePanelSoOneSetOfLabelsLives) {
  folder.writeCatalogue(positionedRow("S1") + positionedRow("S2", "'second'"));
  run.run([] {
    const int fixedLayout = detailsForm->ComponentCount();
    showDetailsOf("S1");
    EXPECT_EQ(detailsForm->ComponentCount(), fixedLayout + 16) << "the first view deletes nothing";
    showDetailsOf("S2");
    EXPECT_EQ(detailsForm->ComponentCount(), fixedLayout + 16);
    const std::vector<std::string> texts = panelTexts();
    ASSERT_EQ(texts.size(), 16u);
    EXPECT_EQ(texts[15], "second");
    showDetailsOf("S2");
    EXPECT_EQ(panelTexts(), texts) << "the same row twice gives the same content";
    EXPECT_EQ(detailsForm->ComponentCount(), fixedLayout + 16);
  });
}

// The catalogue changes under the program: the listed row's key no longer finds its row.
TEST_F(DetailsViewTest, KeysThatFindNoRowShowTheInvalidRowMessageAndTheViewStillFollows) {
  folder.writeCatalogue(systemSql("S1", "10.001", {{"p1", "1", "30.1", "pic", 10, 10, 40, 20}}) +
                        systemSql("S2", "10.002", {{"p2", "1", "30.2", "pic", 10, 10, 40, 20}}));
  run.run([this] {
    showDetailsOf("S1");
    const std::vector<std::string> before = panelTexts();
    listSystems("S2");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open("veldo28.bgp", &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, "UPDATE AUTA SET ITER = '2' WHERE ID_UKLAD = 'S2';", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    detailsForm->Hide();
    user::clickRow(Form1->ListView1, 0);
    user::click(Form1->Button4);

    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::Message);
    EXPECT_EQ(run.boxes[0].text, "SQLDB_ERROR[1000]: Invalid row index requested");
    EXPECT_EQ(panelTexts(), before) << "the panel keeps the previous system";
    EXPECT_TRUE(detailsForm->Visible());
    EXPECT_EQ(detailsItemCount, 0);
    EXPECT_FALSE(detailsImages[1]->Visible());
    EXPECT_EQ(detailsBevels[2]->Height(), 27);
  });
}

// A catalogue whose AUTA has 15 columns: the eighth value's position does not exist.
TEST_F(DetailsViewTest, RowWithTooFewColumnsKeepsThePairsBeforeTheMissingValue) {
  folder.writeCatalogue(
      "DROP TABLE AUTA;"
      "CREATE TABLE AUTA (ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CYPR_START, CYPR_END, CUCP, CUCP_VAL,"
      " MCAT, MDIE, ITER, UKLADY, ADDI);"
      "INSERT INTO AUTA VALUES ('S1', 'col 1', 'col 2', 'col 3', 'col 4', 'col 5', 'col 6', 'col 7', 'col 8',"
      " 'col 9', 'col 10', 'col 11', '1', 'col 13', 'col 14');"
      "INSERT INTO T_U (ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, X, Y, W, H) VALUES ('p1', 'S1', 's1', '1', "
      "'0', '0',"
      " '20', '20');"
      "INSERT INTO TLUMIK VALUES ('s1', 'k1', '30.1');");
  run.run([this] {
    const int fixedLayout = detailsForm->ComponentCount();
    showDetailsOf("S1");
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, "SQLDB_ERROR[1000]: Invalid field index requested");
    const std::vector<std::string> texts = panelTexts();
    ASSERT_EQ(texts.size(), 15u) << "the last value is made but stands nowhere";
    EXPECT_EQ(texts[13], "col 9");
    EXPECT_EQ(texts[14], kCaptions[7]);
    EXPECT_EQ(detailsForm->ComponentCount(), fixedLayout + 16 + 3);
    EXPECT_TRUE(detailsForm->Visible());
    EXPECT_EQ(detailsItemCount, 1) << "the drawing follows";

    showDetailsOf("S1");
    EXPECT_EQ(detailsForm->ComponentCount(), fixedLayout + 16 + 3) << "the next view deletes it";
  });
}

}  // namespace
