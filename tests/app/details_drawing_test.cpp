// The details drawing: the background, one picture per visible part and per element, numbered in
// drawing order, placed where the catalogue says, and the item tables the parts list and the
// hover highlight read.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/DetailsCatalogue.h"
#include "app/support/PictureOpens.h"
#include "app/support/UserInput.h"

namespace {

using details_testing::detailsPixelIs;
using details_testing::selectSystem;
using details_testing::selectSystemBySelection;
using details_testing::showDetailsOf;
using details_testing::showDetailsOfSelected;
using details_testing::sqlText;
using details_testing::systemSql;
using details_testing::TestElement;
using details_testing::TestPart;
using details_testing::writeBackground;
using details_testing::writeItemPicture;

constexpr QRgb kGrey = 0xFFC8C8C8;
constexpr QRgb kGreen = 0xFF30A030;
constexpr QRgb kBlue = 0xFF2040C0;
constexpr QRgb kRed = 0xFFE02020;

#if CATALOG_POLISH
const char* const kKindOfA = "Rura przednia";
const char* const kKindOfB = "Tłumik";
#else
const char* const kKindOfA = "Vorderrohr";
const char* const kKindOfB = "Schalldämpfer";
#endif

std::vector<std::string> drawnNumbers() {
  std::vector<std::string> numbers;
  for (int i = 1; i <= detailsItemCount; ++i) numbers.push_back(itemNumbers[i].str());
  return numbers;
}

class DetailsDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { folder.writeLogo(); }

  WorkingFolder folder;
  StartupRun run;
};

TEST_F(DetailsDrawingTest, EachPartIsFollowedByItsElementsBeforeTheNextPart) {
  TestPart a{"a", "1", "30.100", "pa", 100, 50, 60, 40, "Vorderrohr", "Rura przednia"};
  a.elements = {{"91.001", "e1", 5, 6, 20, 10, "3"}, {"91.002", "e2", 200, 100, 30, 12, "1"}};
  const TestPart b{"b", "1", "30.200", "pb", 300, 20, 70, 30};
  folder.writeCatalogue(systemSql("S1", "10.001", {a, b}));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_EQ(detailsItemCount, 4);

    struct Item {
      const char* number;
      const char* name;
      const char* quantity;
      const char* picture;
      int left, top, width, height;
    };
    const Item expected[] = {
        {"30.100", kKindOfA, "1", "pa", 110, 60, 60, 40},
        {"91.001", "", "3", "e1", 15, 16, 20, 10},
        {"91.002", "", "1", "e2", 210, 110, 30, 12},
        {"30.200", kKindOfB, "1", "pb", 310, 30, 70, 30},
    };
    for (int n = 1; n <= 4; ++n) {
      SCOPED_TRACE(n);
      const Item& item = expected[n - 1];
      EXPECT_EQ(utf8(itemNumbers[n].c_str()), item.number);
      EXPECT_EQ(utf8(itemNames[n].c_str()), item.name);
      EXPECT_EQ(itemQuantities[n], item.quantity);
      EXPECT_EQ(itemNormalPicture[n], ("data/data_b/" + std::string(item.picture) + ".dat").c_str());
      EXPECT_EQ(itemHotPicture[n], ("data/data_r/" + std::string(item.picture) + ".dat").c_str());
      EXPECT_EQ(itemHighlighted[n], "0");

      const TImage* image = detailsImages[n];
      EXPECT_EQ(image->Parent(), detailsForm);
      EXPECT_TRUE(image->Visible());
      EXPECT_TRUE(image->Enabled());
      EXPECT_EQ(image->Left(), item.left);
      EXPECT_EQ(image->Top(), item.top);
      EXPECT_EQ(image->Width(), item.width);
      EXPECT_EQ(image->Height(), item.height);
      EXPECT_TRUE(image->Transparent());
      EXPECT_EQ(image->Tag(), n);
      EXPECT_EQ(image->Cursor(), crHandPoint);
      EXPECT_EQ(image->OnMouseMove.Data(), Form1);
    }
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(DetailsDrawingTest, KindNamesComeInTheBuildsLanguage) {
  folder.writeCatalogue(systemSql(
      "S1", "10.001", {{"a", "1", "30.1", "pa", 0, 0, 10, 10, "Endschalldämpfer", "Tłumik końcowy"}}));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_EQ(detailsItemCount, 1);
#if CATALOG_POLISH
    EXPECT_EQ(utf8(itemNames[1].c_str()), "Tłumik końcowy");
#else
    EXPECT_EQ(utf8(itemNames[1].c_str()), "Endschalldämpfer");
#endif
  });
}

// Each part's number names the VISIBLE text it carries.
TEST_F(DetailsDrawingTest, OnlyPartsWhoseVisibleReadsAsTheIntegerOneAreDrawn) {
  struct Case {
    const char* visible;
    bool drawn;
  };
  const Case cases[] = {{"1", true},    {" 1", true}, {"+1", true},    {"01", true},
                        {"1.5", true},  {"0", false}, {"2", false},    {"-1", false},
                        {"yes", false}, {"", false},  {nullptr, false}};
  std::vector<TestPart> parts;
  std::vector<std::string> expected;
  std::vector<std::string> keys;
  for (const Case& c : cases) keys.push_back(std::string("k") + (c.visible ? c.visible : "NULL"));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    parts.push_back({keys[i].c_str(), cases[i].visible, keys[i].c_str(), "p", 0, 0, 10, 10});
    if (cases[i].drawn) expected.push_back(keys[i]);
  }
  folder.writeCatalogue(systemSql("S1", "10.001", parts));
  run.run([&] {
    showDetailsOf("S1");
    EXPECT_EQ(drawnNumbers(), expected);
  });
}

TEST_F(DetailsDrawingTest, PartThatIsNotDrawnStillBringsItsElements) {
  TestPart hidden{"a", "0", "30.100", "pa", 0, 0, 10, 10};
  hidden.elements = {{"91.001", "e1", 0, 0, 10, 10, "2"}, {"91.002", "e2", 20, 0, 10, 10, "1"}};
  folder.writeCatalogue(systemSql("S1", "10.001", {hidden, {"b", "1", "30.200", "pb", 40, 0, 10, 10}}));
  run.run([] {
    showDetailsOf("S1");
    EXPECT_EQ(drawnNumbers(), (std::vector<std::string>{"91.001", "91.002", "30.200"}));
    EXPECT_EQ(detailsImages[1]->Tag(), 1);
    EXPECT_EQ(detailsImages[3]->Tag(), 3);
  });
}

TEST_F(DetailsDrawingTest,
       PicturesStandAtTheirPlacesCutToTheirSizeWithTheBackgroundShowingThroughTheirFrame) {
  writeBackground(folder, "10.001", kGrey);
  writeItemPicture(folder, "pa", 60, 40, kBlue);
  // A picture wider than its image is cut at the image's edge.
  writeItemPicture(folder, "pb", 80, 40, kGreen);
  folder.writeCatalogue(
      systemSql("S1", "10.001",
                {{"a", "1", "30.1", "pa", 100, 50, 60, 40}, {"b", "1", "30.2", "pb", 300, 50, 40, 40}}));
  run.run([] {
    showDetailsOf("S1");
    EXPECT_TRUE(detailsPixelIs({140, 80}, kBlue)) << "inside the part at 110, 60";
    EXPECT_TRUE(detailsPixelIs({110, 60}, kGrey)) << "its white frame is left out";
    EXPECT_TRUE(detailsPixelIs({100, 150}, kGrey)) << "the bare drawing";
    EXPECT_TRUE(detailsPixelIs({330, 80}, kGreen));
    EXPECT_TRUE(detailsPixelIs({360, 80}, kGrey)) << "beyond the image's width of 40";
    EXPECT_EQ(detailsImages[2]->Picture()->Width(), 80) << "the picture keeps its own size";
  });
}

TEST_F(DetailsDrawingTest, BackgroundIsADisabledTag55PictureLoadedOncePerClick) {
  writeBackground(folder, "10.001", kGrey);
  folder.writeCatalogue(systemSql("S1", "10.001",
                                  {{"a", "1", "30.1", "pa", 0, 0, 10, 10},
                                   {"b", "0", "30.2", "pb", 0, 0, 10, 10},
                                   {"c", "1", "30.3", "pc", 0, 0, 10, 10}}));
  run.run([this] {
    selectSystem("S1");
    PictureOpens opens(folder.path());  // the click's own decodes, not the preview's
    user::click(Form1->Button4);
    std::vector<std::string> backgrounds;
    for (const std::string& file : opens.take()) {
      if (file.rfind("data_p/", 0) == 0) backgrounds.push_back(file);
    }
    EXPECT_EQ(backgrounds, std::vector<std::string>{"data_p/10.001.dat"});
    EXPECT_EQ(detailsBackground->Parent(), detailsForm);
    EXPECT_EQ(detailsBackground->Left(), 10);
    EXPECT_EQ(detailsBackground->Top(), 10);
    EXPECT_EQ(detailsBackground->Width(), 700);
    EXPECT_EQ(detailsBackground->Height(), 204);
    EXPECT_FALSE(detailsBackground->Enabled());
    EXPECT_TRUE(detailsBackground->Visible());
    EXPECT_FALSE(detailsBackground->Transparent());
    EXPECT_EQ(detailsBackground->Tag(), 55);
    EXPECT_EQ(detailsBackground->OnMouseMove.Data(), Form1);
    EXPECT_EQ(detailsBackground->Picture()->Width(), 700);
  });
}

TEST_F(DetailsDrawingTest, ItemsCoverTheBackgroundAndHigherNumbersCoverLowerOnes) {
  writeBackground(folder, "10.001", kGrey);
  writeItemPicture(folder, "pa", 60, 40, kBlue);
  writeItemPicture(folder, "pb", 60, 40, kGreen);
  folder.writeCatalogue(
      systemSql("S1", "10.001",
                {{"a", "1", "30.1", "pa", 100, 50, 60, 40}, {"b", "1", "30.2", "pb", 130, 50, 60, 40}}));
  run.run([] {
    showDetailsOf("S1");
    EXPECT_TRUE(detailsPixelIs({125, 80}, kBlue));
    EXPECT_TRUE(detailsPixelIs({155, 80}, kGreen)) << "item 2 lies above item 1";
  });
}

TEST_F(DetailsDrawingTest, MissingBackgroundOrNoPartRowsLeaveThePreviousDrawing) {
  writeBackground(folder, "10.001", kGreen);
  folder.writeCatalogue(systemSql("S1", "10.001", {{"a", "1", "30.1", "pa", 0, 0, 10, 10}}) +
                        systemSql("S2", "10.002", {{"b", "1", "30.2", "pb", 0, 0, 10, 10}}) +
                        systemSql("S3", "10.003", {}));
  run.run([] {
    showDetailsOf("S1");
    ASSERT_TRUE(detailsPixelIs({300, 150}, kGreen));
    showDetailsOf("S2");
    EXPECT_TRUE(detailsPixelIs({300, 150}, kGreen)) << "10.002 has no drawing file";
    showDetailsOf("S3");
    EXPECT_TRUE(detailsPixelIs({300, 150}, kGreen));
    EXPECT_TRUE(detailsBackground->Visible());
    EXPECT_TRUE(detailsForm->Visible());
    EXPECT_EQ(detailsItemCount, 0);
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(DetailsDrawingTest, MissingElementTableShowsOneMessagePerPartRowAndStillDrawsTheParts) {
  folder.writeCatalogue(systemSql("S1", "10.001",
                                  {{"a", "1", "30.1", "pa", 0, 0, 10, 10},
                                   {"b", "0", "30.2", "pb", 0, 0, 10, 10},
                                   {"c", "1", "30.3", "pc", 0, 0, 10, 10}}) +
                        "DROP TABLE T_U_ELEMENT;");
  std::size_t previewBoxes = 0;
  run.run([&] {
    selectSystemBySelection("S1");
    previewBoxes = run.boxes.size();  // the preview reads the elements too
    user::click(Form1->Button4);
    EXPECT_EQ(drawnNumbers(), (std::vector<std::string>{"30.1", "30.3"}));
  });
  ASSERT_EQ(run.boxes.size() - previewBoxes, 3u);
  for (std::size_t i = previewBoxes; i < run.boxes.size(); ++i) {
    EXPECT_EQ(run.boxes[i].text, "SQLITE_ERROR[1]: no such table: T_U_ELEMENT");
  }
}

TEST_F(DetailsDrawingTest, FailingPartsQueryShowsItsMessageAndTheEmptyViewStillShows) {
  folder.writeCatalogue(systemSql("S1", "10.001", {{"a", "1", "30.1", "pa", 0, 0, 10, 10}}) +
                        "DROP TABLE TLUMIK_KIND;");
  std::size_t previewBoxes = 0;
  run.run([&] {
    selectSystem("S1");
    previewBoxes = run.boxes.size();  // the preview's parts query joins the same table
    user::click(Form1->Button4);
    EXPECT_TRUE(detailsForm->Visible());
    EXPECT_EQ(detailsItemCount, 0);
  });
  ASSERT_EQ(run.boxes.size() - previewBoxes, 1u);
  EXPECT_EQ(run.boxes.back().text, "SQLITE_ERROR[1]: no such table: TLUMIK_KIND");
}

TEST_F(DetailsDrawingTest, ItemsBeyondTheTwentyNinthAreLeftOut) {
  TestPart kit{"kit", "1", "30.0", "pk", 0, 0, 10, 10};
  std::vector<std::string> numbers;
  for (int i = 1; i <= 34; ++i) numbers.push_back("91." + std::to_string(i));
  for (const std::string& number : numbers) kit.elements.push_back({number.c_str(), "e", 0, 0, 5, 5, "1"});
  folder.writeCatalogue(systemSql("S1", "10.001", {kit, {"after", "1", "30.9", "p", 0, 0, 5, 5}}));
  run.run([&] {
    showDetailsOf("S1");
    ASSERT_EQ(detailsItemCount, 29);
    EXPECT_EQ(itemNumbers[29].str(), numbers[27]);
    EXPECT_TRUE(detailsImages[29]->Visible());
    EXPECT_EQ(detailsImages[29]->Tag(), 29);
    ASSERT_NE(numberLabels[29], nullptr);
    EXPECT_EQ(numberLabels[29]->Top(), 847);
    EXPECT_TRUE(itemHighlighted[30].IsEmpty()) << "nothing written past the pool";
    EXPECT_TRUE(itemNormalPicture[30].IsEmpty());
  });
}

// ---- Damaged catalogue rows -------------------------------------------------------------------

// A part row written as raw SQL values (texts or NULL), with its silencer.
std::string rawPart(const char* key, const char* visible, const char* picture, const char* x, const char* y,
                    const char* w, const char* h) {
  return "INSERT INTO T_U (ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H) VALUES (" +
         sqlText(key) + ", 'S1', 's', " + sqlText(visible) + ", " + sqlText(picture) + ", " + sqlText(x) +
         ", " + sqlText(y) + ", " + sqlText(w) + ", " + sqlText(h) + ");";
}

const std::string kSystem =
    "INSERT INTO AUTA (ID_UKLAD, VELDO, ITER) VALUES ('S1', '10.001', '1');"
    "INSERT INTO TLUMIK VALUES ('s', 'k', '30.1');";
const std::string kLongName(300, 'n');

struct DamagedRows {
  const char* label;
  std::string sql;
  int items;
  std::string normalPath;  // of item 1
  int left;                // of item 1
  int top;
  int width;
};

const DamagedRows kDamaged[] = {
    {"picture name is NULL", kSystem + rawPart("a", "1", nullptr, "5", "5", "10", "10"), 1, "", 15, 15, 10},
    {"picture name holds printf conversions", kSystem + rawPart("a", "1", "%s%n%d", "5", "5", "10", "10"), 1,
     "data/data_b/%s%n%d.dat", 15, 15, 10},
    {"picture name longer than any path",
     kSystem + rawPart("a", "1", kLongName.c_str(), "5", "5", "10", "10"), 1,
     "data/data_b/" + kLongName + ".dat", 15, 15, 10},
    {"part key is NULL and elements wait under the texts a NULL key could turn into",
     kSystem + rawPart(nullptr, "1", "p", "5", "5", "10", "10") +
         "INSERT INTO T_U_ELEMENT VALUES ('', '91.1', 'e', '0', '0', '5', '5', '1');"
         "INSERT INTO T_U_ELEMENT VALUES ('(null)', '91.2', 'e', '0', '0', '5', '5', '1');"
         "INSERT INTO T_U_ELEMENT VALUES (NULL, '91.3', 'e', '0', '0', '5', '5', '1');",
     1, "data/data_b/p.dat", 15, 15, 10},
    {"system number is NULL",
     "INSERT INTO AUTA (ID_UKLAD, VELDO, ITER) VALUES ('S1', NULL, '1');" +
         rawPart("a", "1", "p", "5", "5", "10", "10"),
     1, "data/data_b/p.dat", 15, 15, 10},
    {"coordinates beyond a million pixels",
     kSystem + rawPart("a", "1", "p", "99999999999", "-99999999999", "-5", "3000000000"), 1,
     "data/data_b/p.dat", (1 << 20) + 10, -(1 << 20) + 10, 0},
    {"coordinates and sizes are NULL or no numbers",
     kSystem + rawPart("a", "1", "p", nullptr, "x", "", "ten"), 1, "data/data_b/p.dat", 10, 10, 0},
};

class DamagedRowsTest : public ::testing::TestWithParam<DamagedRows> {
 protected:
  void SetUp() override { folder.writeLogo(); }

  WorkingFolder folder;
  StartupRun run;
};

// Files a NULL could name if it were printed into a path.
void writeDecoys(WorkingFolder& folder) {
  for (const char* name : {"(null)", ""}) {
    writeItemPicture(folder, name, 10, 10, kRed);
    writeBackground(folder, name, kRed);
  }
}

TEST_P(DamagedRowsTest, ViewDrawsWhatTheRowsHoldAndOpensNoOtherFile) {
  const DamagedRows& damaged = GetParam();
  writeDecoys(folder);
  folder.writeCatalogue(damaged.sql);
  run.run([&] {
    PictureOpens opens(folder.path());
    showDetailsOf("S1");
    ASSERT_EQ(detailsItemCount, damaged.items);
    EXPECT_EQ(itemNormalPicture[1].str(), damaged.normalPath);
    EXPECT_EQ(detailsImages[1]->Left(), damaged.left);
    EXPECT_EQ(detailsImages[1]->Top(), damaged.top);
    EXPECT_EQ(detailsImages[1]->Width(), damaged.width);
    for (const std::string& file : opens.take()) {
      EXPECT_EQ(file.find("(null)"), std::string::npos) << file;
      EXPECT_NE(file.substr(file.size() - 5), "/.dat") << file;
    }
  });
  EXPECT_TRUE(run.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, DamagedRowsTest, ::testing::ValuesIn(kDamaged),
                         [](const ::testing::TestParamInfo<DamagedRows>& info) {
                           std::string name;
                           for (const char* c = info.param.label; *c != '\0'; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

}  // namespace
