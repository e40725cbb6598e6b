// The demo working folder as the programs read it: the catalogue's tables and their variety, the
// pictures the database names, and the logos. The programs' own queries against it are tested
// with the application.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/CatalogDatabase.h"
#include "tools/DemoFolder.h"
#include "tools/support/ToolFiles.h"

namespace {

class DemoFolderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    try {
      demo::writeDemoFolder(folder_->path(), demo::CatalogSize::kDemo);
    } catch (const std::exception& error) {
      writeError_ = error.what();
    }
  }

  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  void SetUp() override {
    ASSERT_EQ(writeError_, "");
    db_ = std::make_unique<ReadOnlyDb>(file("veldo28.bgp"));
  }

  static std::string file(const std::string& name) { return folder_->file(name); }

  QueryResult query(const std::string& sql) const { return db_->query(sql); }
  std::string value(const std::string& sql) const { return db_->value(sql); }

  inline static TempFolder* folder_ = nullptr;
  inline static std::string writeError_;
  std::unique_ptr<ReadOnlyDb> db_;
};

TEST_F(DemoFolderTest, TablesHoldEveryColumnThatTheProgramsName) {
  const struct {
    const char* table;
    std::vector<std::string> columns;
  } kTables[] = {
      {"AUTA",
       {"ID_UKLAD", "VELDO", "MKNM", "TYSP", "MDCA", "CYPR", "CYPR_START", "CYPR_END", "CUCP", "CUCP_VAL",
        "MCAT", "MDIE", "ITER", "ADDI", "UKLADY"}},
      {"T_U",
       {"ID_KEY", "ID_UKLAD", "ID_TLUMIK", "VISIBLE", "VELDO_PIC_GRAFOS", "X", "Y", "W", "H", "OE", "VELDO"}},
      {"TLUMIK", {"ID_KEY", "ID_TLUMIK_KIND", "VELDO"}},
      {"TLUMIK_KIND", {"ID_KEY", "NAME_DE", "NAME_PL"}},
      {"T_U_ELEMENT", {"ID_T_U", "FA", "FA_PIC", "X", "Y", "W", "H", "ZWIELOKROTNIENIE"}},
  };
  for (const auto& table : kTables) {
    const QueryResult info = query(std::string("PRAGMA table_info(") + table.table + ")");
    ASSERT_TRUE(info.ok) << info.error;
    std::set<std::string> present;
    for (const auto& row : info.rows) present.insert(*row[1]);
    for (const std::string& column : table.columns) {
      EXPECT_TRUE(present.count(column)) << table.table << " has no column " << column;
    }
  }
}

TEST_F(DemoFolderTest, CatalogueHasTheVarietyThatTheProgramsHandle) {
  const struct {
    const char* label;
    const char* sql;  // a single number
    long minimum;
    long maximum;
  } kCounts[] = {
      {"about a dozen makes", "SELECT COUNT(DISTINCT MKNM) FROM AUTA", 10, 15},
      {"a few hundred systems", "SELECT COUNT(DISTINCT ID_UKLAD) FROM AUTA", 200, 999},
      {"systems with several applications",
       "SELECT COUNT(*) FROM (SELECT ID_UKLAD FROM AUTA GROUP BY ID_UKLAD HAVING COUNT(*) > 1)", 20, 100000},
      {"duplicate row keys", "SELECT COUNT(*) - COUNT(DISTINCT ID_UKLAD || '/' || ITER) FROM AUTA", 0, 0},
      {"still produced", "SELECT COUNT(*) FROM AUTA WHERE CYPR_END = '3000'", 1, 100000},
      {"produced before 1951", "SELECT COUNT(*) FROM AUTA WHERE CAST(CYPR_START AS INTEGER) < 1951", 1,
       100000},
      {"years not four digits",
       "SELECT COUNT(*) FROM AUTA WHERE NOT (CYPR_START GLOB '[0-9][0-9][0-9][0-9]' AND CYPR_END GLOB "
       "'[0-9][0-9][0-9][0-9]')",
       0, 0},
      {"capacities not like 1.6", "SELECT COUNT(*) FROM AUTA WHERE NOT CUCP_VAL GLOB '[0-9].[0-9]'", 0, 0},
      {"with catalytic converter", "SELECT COUNT(*) FROM AUTA WHERE MCAT = 'CAT'", 1, 100000},
      {"without catalytic converter", "SELECT COUNT(*) FROM AUTA WHERE MCAT <> 'CAT'", 1, 100000},
      {"diesel", "SELECT COUNT(*) FROM AUTA WHERE MDIE = 'Diesel'", 1, 100000},
      {"parts not drawn", "SELECT COUNT(*) FROM T_U WHERE VISIBLE <> '1'", 1, 100000},
      {"parts with a maker's number", "SELECT COUNT(*) FROM T_U WHERE OE <> ''", 1, 100000},
      {"elements more than once",
       "SELECT COUNT(*) FROM T_U_ELEMENT WHERE CAST(ZWIELOKROTNIENIE AS INTEGER) > 1", 1, 100000},
      {"parts of no silencer or kind",
       "SELECT COUNT(*) FROM T_U LEFT JOIN TLUMIK ON TLUMIK.ID_KEY = T_U.ID_TLUMIK LEFT JOIN TLUMIK_KIND ON "
       "TLUMIK_KIND.ID_KEY = TLUMIK.ID_TLUMIK_KIND WHERE TLUMIK_KIND.NAME_DE IS NULL",
       0, 0},
      {"parts outside the drawing",
       "SELECT COUNT(*) FROM T_U WHERE CAST(X AS INTEGER) < 0 OR CAST(Y AS INTEGER) < 0 OR CAST(X AS "
       "INTEGER) + "
       "CAST(W AS INTEGER) > 700 OR CAST(Y AS INTEGER) + CAST(H AS INTEGER) > 204",
       0, 0},
      {"elements outside the drawing",
       "SELECT COUNT(*) FROM T_U_ELEMENT WHERE CAST(X AS INTEGER) < 0 OR CAST(Y AS INTEGER) < 0 OR CAST(X AS "
       "INTEGER) + CAST(W AS INTEGER) > 700 OR CAST(Y AS INTEGER) + CAST(H AS INTEGER) > 204",
       0, 0},
      // Drawn parts and all elements, also those of parts not drawn; more than 10 widens the window.
      {"most items of a system",
       "SELECT MAX(n) FROM (SELECT SUM(items) AS n FROM (SELECT ID_UKLAD, (VISIBLE = '1') + (SELECT COUNT(*) "
       "FROM "
       "T_U_ELEMENT WHERE ID_T_U = T_U.ID_KEY) AS items FROM T_U) GROUP BY ID_UKLAD)",
       11, 29},
  };
  for (const auto& c : kCounts) {
    const long count = std::stol(value(c.sql));
    EXPECT_GE(count, c.minimum) << c.label;
    EXPECT_LE(count, c.maximum) << c.label;
  }
}

TEST_F(DemoFolderTest, KindNamesAreStoredInEachProgramsCodePage) {
  const QueryResult kinds = query("SELECT NAME_DE, NAME_PL FROM TLUMIK_KIND");
  ASSERT_TRUE(kinds.ok) << kinds.error;
  std::set<std::pair<std::string, std::string>> names;
  for (const auto& row : kinds.rows) names.emplace(*row[0], *row[1]);
  EXPECT_TRUE(names.count({"Schalld\xE4mpfer", "T\xB3umik"}));
  EXPECT_TRUE(names.count({"Endschalld\xE4mpfer",
                           "T\xB3umik ko\xF1"
                           "cowy"}));
  EXPECT_TRUE(names.count({"Mittelschalld\xE4mpfer", "T\xB3umik \x9Crodkowy"}));
  EXPECT_TRUE(names.count({"Rohr", "Rura"}));
}

struct PictureCheck {
  std::vector<std::string> failures;
  std::set<std::pair<int, int>> layouts;  // colour type, bit depth

  void fail(const std::string& what) { failures.push_back(what); }

  PngPicture read(const std::string& path, int width, int height) {
    PngPicture picture = readPng(path);
    if (!picture.ok) {
      fail(path + " is no readable PNG");
      return picture;
    }
    layouts.emplace(picture.colourType, picture.bitDepth);
    if (picture.bitDepth == 2) fail(path + " has 2-bit depth");
    if (picture.width != width || picture.height != height) fail(path + " is not of its stored size");
    return picture;
  }
};

bool isRed(std::uint32_t rgb) {
  const int r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r > g + 60 && r > b + 60;
}

// A part or element picture: everything round its shape is the colour of its bottom-left pixel,
// and its red variant has the same shape, in red.
void checkItemPictures(PictureCheck& check, const PngPicture& normal, const PngPicture& red,
                       const std::string& name) {
  if (!normal.ok || !red.ok || normal.width != red.width || normal.height != red.height) return;
  const int w = normal.width, h = normal.height;
  for (const PngPicture* picture : {&normal, &red}) {
    const std::uint32_t background = picture->at(0, h - 1);
    if (picture->at(0, 0) != background || picture->at(w - 1, 0) != background ||
        picture->at(w - 1, h - 1) != background) {
      check.fail(name + ": corners differ from the bottom-left pixel");
    }
  }
  const std::uint32_t normalBackground = normal.at(0, h - 1), redBackground = red.at(0, h - 1);
  bool shape = false, redShape = false, redInNormal = false;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool inNormal = normal.at(x, y) != normalBackground;
      if (inNormal != (red.at(x, y) != redBackground)) {
        check.fail(name + ": the red picture's shape differs");
        return;
      }
      shape |= inNormal;
      redShape |= isRed(red.at(x, y));
      redInNormal |= isRed(normal.at(x, y));
    }
  }
  if (!shape || !redShape || redInNormal) check.fail(name + ": shape missing or wrongly coloured");
}

TEST_F(DemoFolderTest, EveryPictureTheCatalogueNamesIsAReadablePngOfItsStoredSize) {
  PictureCheck check;
  const QueryResult systems = query("SELECT DISTINCT VELDO FROM AUTA");
  ASSERT_TRUE(systems.ok) << systems.error;
  for (const auto& row : systems.rows) check.read(file("data/data_p/" + *row[0] + ".dat"), 700, 204);

  const QueryResult items =
      query("SELECT VELDO_PIC_GRAFOS, W, H FROM T_U UNION SELECT FA_PIC, W, H FROM T_U_ELEMENT ORDER BY 1");
  ASSERT_TRUE(items.ok) << items.error;
  ASSERT_GT(items.rows.size(), 100u);
  for (const auto& row : items.rows) {
    const int width = std::stoi(*row[1]), height = std::stoi(*row[2]);
    const PngPicture normal = check.read(file("data/data_b/" + *row[0] + ".dat"), width, height);
    const PngPicture red = check.read(file("data/data_r/" + *row[0] + ".dat"), width, height);
    checkItemPictures(check, normal, red, *row[0]);
  }

  std::string shown;
  for (std::size_t i = 0; i < check.failures.size() && i < 10; ++i) shown += check.failures[i] + "\n";
  EXPECT_TRUE(check.failures.empty()) << check.failures.size() << " faults, the first:\n" << shown;
  const std::set<std::pair<int, int>> kEveryLayout = {{0, 4}, {0, 8}, {4, 8}, {3, 4}, {3, 8}, {2, 8}, {6, 8}};
  for (const auto& layout : kEveryLayout) {
    EXPECT_TRUE(check.layouts.count(layout))
        << "no picture of colour type " << layout.first << ", depth " << layout.second;
  }
}

TEST_F(DemoFolderTest, LogosAreBottomUpTwentyFourBitBitmapsOfTheLogoArea) {
  std::vector<std::vector<unsigned char>> logos;
  for (const char* name : {"data/lg_de.dat", "data/lg_pl.dat"}) {
    SCOPED_TRACE(name);
    const std::vector<unsigned char> bmp = readBytes(file(name));
    constexpr std::uint32_t kStride = 1388;  // 462 pixels of 3 bytes, padded to 4
    ASSERT_EQ(bmp.size(), 54u + kStride * 72);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 462u);
    EXPECT_EQ(le32(bmp, 22), 72u);  // positive: bottom row first
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 24u);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 34), kStride * 72);
    for (std::uint32_t row = 0; row < 72; ++row) {
      EXPECT_EQ(bmp[54 + row * kStride + 1386], 0) << "padding of row " << row;
    }
    const std::set<unsigned char> bytes(bmp.begin() + 54, bmp.end());
    EXPECT_GT(bytes.size(), 16u) << "no artwork";
    logos.push_back(bmp);
  }
  EXPECT_NE(logos[0], logos[1]) << "both languages have the same logo";
}

TEST(CatalogDatabaseTest, SameCatalogueGivesTheSameDatabaseBytes) {
  TempFolder folder;
  demo::writeCatalogDatabase(demo::buildDemoCatalog(), folder.file("first.bgp"));
  demo::writeCatalogDatabase(demo::buildDemoCatalog(), folder.file("second.bgp"));
  EXPECT_EQ(readBytes(folder.file("first.bgp")), readBytes(folder.file("second.bgp")));
}

TEST(CatalogDatabaseTest, RewritingReplacesAnEarlierDatabase) {
  TempFolder folder;
  const std::string path = folder.file("veldo28.bgp");
  demo::writeCatalogDatabase(demo::buildDemoCatalog(), path);
  demo::writeCatalogDatabase(demo::buildDemoCatalog(), path);
  ReadOnlyDb db(path);
  EXPECT_EQ(db.value("SELECT COUNT(*) - COUNT(DISTINCT ID_UKLAD || '/' || ITER) FROM AUTA"), "0");
  EXPECT_FALSE(std::filesystem::exists(path + ".building"));
}

// The sanitizer build also checks that the connection SQLite hands out on a failed open is closed.
TEST(CatalogDatabaseTest, FolderThatDoesNotExistThrowsNamingThePath) {
  TempFolder folder;
  const std::string path = folder.file("missing/veldo28.bgp");
  try {
    demo::writeCatalogDatabase(demo::buildDemoCatalog(), path);
    ADD_FAILURE() << "no error for " << path;
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

}  // namespace
