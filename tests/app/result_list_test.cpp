// The result list: the query of each mode as SQLite receives it, the list rows and their keys,
// the status line and the Details button after hits, after no hits and after a failed query.
#include <gtest/gtest.h>

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CascadeTesting.h"
#include "app/support/CatalogRun.h"
#include "app/support/StatementLog.h"
#include "app/support/UserInput.h"

namespace {

using namespace cascade::texts;

using cascade::choose;
using cascade::ListRow;
using cascade::rowsOf;
using cascade::statusLine;

// Audi A4 for the selection: four rows, two of them one system in two iterations, one still
// produced (CYPR_END 3000). Audi A6 has nothing but NULL where the list reads. Fiat rows for the
// search: system 201 in two iterations with two parts that share an OE number and an element
// number; "123" inside two lists of system numbers and as one part number; "0.123.4" as an OE
// number.
const char* const kCatalogue =
    "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, MDNM, MDCA, CYPR, CYPR_START, CYPR_END, CUCP, CUCP_VAL,"
    " MCAT, MDIE, ITER, UKLADY, ADDI) VALUES"
    " ('101', 'V-101', 'Audi', 'A4', 'B5', 'Limousine', '1995-2001', '1995', '2001', '1.8 20V', '1781',"
    "  'CAT', '', '1', 'V-101', ''),"
    " ('102', 'V-102', 'Audi', 'A4', 'B5', 'Avant', '1996-2001', '1996', '2001', '1.9 TDI', '1896',"
    "  'CAT', 'Diesel', '1', 'V-102', 'Quattro'),"
    " ('103', 'V-103', 'Audi', 'A4', 'B6', 'Limousine', '2001-', '2001', '3000', '2.0', '1984',"
    "  '', '', '1', 'V-103', NULL),"
    " ('102', 'V-102', 'Audi', 'A4', 'B5', 'Limousine', '1996-2001', '1996', '2001', '1.9 TDI', '1896',"
    "  '', 'Diesel', '2', 'V-102', ''),"
    " (NULL, NULL, 'Audi', 'A6', NULL, NULL, NULL, '1997', '2004', NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
    " ('201', 'V-201', 'Fiat', 'Punto', '176', '3-door', '1993-1999', '1993', '1999', '1.1', '1108',"
    "  'CAT', '', '1', 'V-201', ''),"
    " ('201', 'V-201', 'Fiat', 'Punto', '176', '5-door', '1993-1999', '1993', '1999', '1.1', '1108',"
    "  'CAT', '', '2', 'V-201', ''),"
    " ('301', 'V-301', 'Fiat', 'Uno', '146', '', '1989-1995', '1989', '1995', '1.0', '999',"
    "  '', '', '1', 'V-301;X-123', ''),"
    " ('302', 'V-302', 'Fiat', 'Uno', '146', '', '1989-1995', '1989', '1995', '1.4', '1372',"
    "  '', '', '1', 'V-302;X-1234', ''),"
    " ('303', 'V-303', 'Fiat', 'Tipo', '160', '', '1988-1995', '1988', '1995', '1.6', '1581',"
    "  '', '', '1', 'V-303', ''),"
    " ('304', 'V-304', 'Fiat', 'Tipo', '160', '', '1988-1995', '1988', '1995', '1.9 D', '1929',"
    "  '', 'Diesel', '1', 'V-304', '');"
    "INSERT INTO T_U (ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H, OE, VELDO) VALUES"
    " ('P1', '201', 'T1', '1', 'p', '0', '0', '10', '10', '5551', 'P-71'),"
    " ('P2', '201', 'T2', '1', 'p', '0', '0', '10', '10', '5551', 'P-72'),"
    " ('P3', '303', 'T3', '1', 'p', '0', '0', '10', '10', '', '123'),"
    " ('P4', '304', 'T4', '1', 'p', '0', '0', '10', '10', '0.123.4', 'P-74');"
    "INSERT INTO T_U_ELEMENT (ID_T_U, FA, FA_PIC, X, Y, W, H, ZWIELOKROTNIENIE) VALUES"
    " ('P1', '5552', 'e', '0', '0', '5', '5', '2'),"
    " ('P2', '5552', 'e', '0', '0', '5', '5', '1');";

#if CATALOG_POLISH
const char* const kFourHits = "Znaleziono 4 układów spełniających Twoje kryteria wyszukiwania.";
const char* const kThreeSearchHitsFor123 = "Znaleziono 3 układów zawierających tłumik o numerze  123";
#else
const char* const kFourHits = "Es würden 4 Abgasanlagen nach Ihren Auswahlkriterien gefunden.";
const char* const kThreeSearchHitsFor123 =
    "Abgasanlagen, die den Schalldämpfer mit der Nummer 123 beinhalten";
#endif

const std::vector<ListRow> kAudiA4Rows = {
    {"V-101", "Audi", "A4", "Limousine", "1995-2001", "1.8 20V", "1781", ""},
    {"V-102", "Audi", "A4", "Avant", "1996-2001", "1.9 TDI", "1896", "Quattro"},
    {"V-102", "Audi", "A4", "Limousine", "1996-2001", "1.9 TDI", "1896", ""},
    {"V-103", "Audi", "A4", "Limousine", "2001-", "2.0", "1984", ""},
};

// Hide and show events that a widget receives.
class VisibilityEvents : public QObject {
 public:
  explicit VisibilityEvents(QWidget* widget) { widget->installEventFilter(this); }

  std::string seen;  // "H" for each hide, "S" for each show

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) seen += "H";
    if (event->type() == QEvent::Show) seen += "S";
    return false;
  }
};

std::vector<std::string> systemsIn(TListView* list) {
  std::vector<std::string> systems;
  for (const ListRow& row : rowsOf(list)) systems.push_back(row.front());
  return systems;
}

void search(const std::string& text) {
  Form1->Edit1->SetText(AnsiString(cascade::ansi(text)));
  user::click(Form1->Button1);
}

void chooseAudiA4() {
  choose(Form1->ComboBox1, "Audi");
  choose(Form1->ComboBox2, "A4");
}

class ResultListTest : public cascade::ProgramTest {
 protected:
  ResultListTest() : ProgramTest(kCatalogue) {}

  // The text of the last result query of the mode, as SQLite received it.
  std::string lastQuery(const char* prefix) const {
    const std::vector<std::string> queries = log.startingWith(prefix);
    return queries.empty() ? std::string() : utf8(queries.back().c_str());
  }

  cascade::FixedYear year{2031};
};

TEST_F(ResultListTest, HitsFillTheListInResultOrderWithTheKeysOfEachRow) {
  withMainWindow([] {
    chooseAudiA4();
    EXPECT_EQ(rowsOf(Form1->ListView1), kAudiA4Rows);
    const char* const ids[] = {"101", "102", "102", "103"};
    const char* const iterations[] = {"1", "1", "2", "1"};
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(rowSystemIds[i].str(), ids[i]);
      EXPECT_EQ(rowIterations[i].str(), iterations[i]);
    }
    EXPECT_EQ(statusLine(Form1), kFourHits);
    EXPECT_EQ(Form1->Label5->Font()->Color(), clBlack);
    EXPECT_TRUE(Form1->Button4->Enabled());
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(ResultListTest, ClausesFollowTheModelInTheOrderCapacityDieselYearCatalyst) {
  struct Case {
    const char* label;
    const char* year;      // entry the user chooses, or null for none
    const char* capacity;  // likewise
    bool catalyst;
    bool diesel;
    const char* between;  // what stands between the model's closing quote and "ORDER BY"
    std::vector<std::string> systems;
  };
  const Case cases[] = {
      {"nothing chosen: five blanks",
       nullptr,
       nullptr,
       false,
       false,
       "     ",
       {"V-101", "V-102", "V-102", "V-103"}},
      {"the first entry of year and capacity is no value",
       kAll,
       kAll,
       false,
       false,
       "     ",
       {"V-101", "V-102", "V-102", "V-103"}},
      {"capacity", nullptr, "1896", false, false, " AND CUCP_VAL = '1896'    ", {"V-102", "V-102"}},
      {"year",
       "1998",
       nullptr,
       false,
       false,
       "   AND (CYPR_START <= '1998' AND CYPR_END >= '1998')  ",
       {"V-101", "V-102", "V-102"}},
      {"a year of a row still produced",
       "2005",
       nullptr,
       false,
       false,
       "   AND (CYPR_START <= '2005' AND CYPR_END >= '2005')  ",
       {"V-103"}},
      {"both filters", nullptr, nullptr, true, true, "  AND MDIE = 'Diesel'  AND MCAT = 'CAT' ", {"V-102"}},
      {"everything",
       "1998",
       "1896",
       true,
       true,
       " AND CUCP_VAL = '1896' AND MDIE = 'Diesel' AND (CYPR_START <= '1998' AND CYPR_END >= '1998') AND "
       "MCAT = 'CAT' ",
       {"V-102"}},
  };
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.label);
      chooseAudiA4();
      if (c.year != nullptr) choose(Form1->ComboBox3, c.year);
      if (c.capacity != nullptr) choose(Form1->ComboBox4, c.capacity);
      if (c.catalyst) user::click(Form1->CheckBox1);
      if (c.diesel) user::click(Form1->CheckBox2);
      EXPECT_EQ(
          lastQuery(kSelectionPrefix),
          std::string("SELECT ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CUCP, CUCP_VAL, MCAT, MDIE, ITER, "
                      "ADDI FROM AUTA WHERE MKNM = 'Audi' AND TYSP = 'A4'") +
              c.between + "ORDER BY CUCP_VAL, MDCA, MCAT, MDIE ASC;");
      EXPECT_EQ(systemsIn(Form1->ListView1), c.systems);
    }
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(ResultListTest, OneBlankIsSearchedInAllSixPlaces) {
  withMainWindow([&] {
    user::type(Form1->Edit1, " ");
    user::click(Form1->Button1);
    EXPECT_EQ(
        lastQuery(kSearchPrefix),
        "SELECT AUTA.ID_UKLAD AS ID_UKLAD, AUTA.VELDO AS VELDO, AUTA.MKNM AS MKNM, AUTA.TYSP AS TYSP, "
        "AUTA.MDCA AS MDCA, AUTA.CYPR AS CYPR, AUTA.CUCP AS CUCP, AUTA.CUCP_VAL AS CUCP_VAL, AUTA.MCAT AS "
        "MCAT, AUTA.MDIE AS MDIE, AUTA.ITER AS ITER, AUTA.ADDI AS ADDI FROM AUTA LEFT JOIN T_U ON "
        "AUTA.ID_UKLAD = T_U.ID_UKLAD LEFT JOIN T_U_ELEMENT ON T_U.ID_KEY = T_U_ELEMENT.ID_T_U WHERE "
        "(AUTA.ID_UKLAD = ' ' OR AUTA.VELDO = ' ' OR FA = ' ' OR T_U.OE = ' ' OR T_U.VELDO = ' ' OR UKLADY "
        "LIKE '% %') GROUP BY AUTA.VELDO, AUTA.ITER ORDER BY MKNM, TYSP, CUCP_VAL, MCAT, MDIE ASC;");
  });
}

TEST_F(ResultListTest, CommasThenHyphensBecomeFullStopsOnlyInTheExactComparisons) {
  withMainWindow([&] {
    search("0-123,4");
    EXPECT_EQ(
        lastQuery(kSearchPrefix),
        "SELECT AUTA.ID_UKLAD AS ID_UKLAD, AUTA.VELDO AS VELDO, AUTA.MKNM AS MKNM, AUTA.TYSP AS TYSP, "
        "AUTA.MDCA AS MDCA, AUTA.CYPR AS CYPR, AUTA.CUCP AS CUCP, AUTA.CUCP_VAL AS CUCP_VAL, AUTA.MCAT AS "
        "MCAT, AUTA.MDIE AS MDIE, AUTA.ITER AS ITER, AUTA.ADDI AS ADDI FROM AUTA LEFT JOIN T_U ON "
        "AUTA.ID_UKLAD = T_U.ID_UKLAD LEFT JOIN T_U_ELEMENT ON T_U.ID_KEY = T_U_ELEMENT.ID_T_U WHERE "
        "(AUTA.ID_UKLAD = '0.123.4' OR AUTA.VELDO = '0.123.4' OR FA = '0.123.4' OR T_U.OE = '0.123.4' OR "
        "T_U.VELDO = '0.123.4' OR UKLADY LIKE '%0-123,4%') GROUP BY AUTA.VELDO, AUTA.ITER ORDER BY MKNM, "
        "TYSP, CUCP_VAL, MCAT, MDIE ASC;");
    // The OE number is stored with full stops.
    EXPECT_EQ(systemsIn(Form1->ListView1), std::vector<std::string>{"V-304"});
  });
}

TEST_F(ResultListTest, SearchGivesOneRowPerSystemNumberAndIteration) {
  withMainWindow([] {
    // Two parts with this OE number, each with one element, in both iterations of system 201.
    search("5551");
    ASSERT_EQ(Form1->ListView1->Items()->Count(), 2);
    EXPECT_EQ(systemsIn(Form1->ListView1), (std::vector<std::string>{"V-201", "V-201"}));
    const std::vector<std::string> keys = {rowSystemIds[0].str() + "/" + rowIterations[0].str(),
                                           rowSystemIds[1].str() + "/" + rowIterations[1].str()};
    EXPECT_TRUE((keys == std::vector<std::string>{"201/1", "201/2"}) ||
                (keys == std::vector<std::string>{"201/2", "201/1"}));

    search("5552");
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 2);
  });
}

TEST_F(ResultListTest, SearchStatusLineIsTheBuildsWithTheSearchTextAsTyped) {
  withMainWindow([] {
    search("123");
    EXPECT_EQ(systemsIn(Form1->ListView1), (std::vector<std::string>{"V-303", "V-302", "V-301"}));
    EXPECT_EQ(statusLine(Form1), kThreeSearchHitsFor123);
    EXPECT_EQ(Form1->Label5->Font()->Color(), clBlack);
    EXPECT_TRUE(Form1->Button4->Enabled());
  });
}

TEST_F(ResultListTest, NoHitsEmptyTheListTurnTheStatusLineRedAndDisableDetails) {
  struct Case {
    const char* label;
    std::function<void()> query;
  };
  const Case cases[] = {
      {"selection mode: the model placeholder as the model",
       [] { choose(Form1->ComboBox2, kModelPlaceholder); }},
      {"search mode: a number nothing holds", [] { search("NO-SUCH-NUMBER"); }},
  };
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.label);
      chooseAudiA4();
      ASSERT_EQ(Form1->ListView1->Items()->Count(), 4);
      c.query();
      EXPECT_EQ(Form1->ListView1->Items()->Count(), 0);
      EXPECT_EQ(statusLine(Form1), kNoHits);
      EXPECT_EQ(Form1->Label5->Font()->Color(), clRed);
      EXPECT_FALSE(Form1->Button4->Enabled());
    }
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(ResultListTest, NullKeysAreStoredAsEmptyTextAndNullCellsShowEmpty) {
  withMainWindow([] {
    chooseAudiA4();
    ASSERT_EQ(rowSystemIds[0].str(), "101");
    choose(Form1->ComboBox2, "A6");
    EXPECT_EQ(rowsOf(Form1->ListView1), (std::vector<ListRow>{{"", "Audi", "A6", "", "", "", "", ""}}));
    EXPECT_EQ(rowSystemIds[0].str(), "");
    EXPECT_EQ(rowIterations[0].str(), "");
  });
}

TEST_F(ResultListTest, FailedQueryKeepsListStatusLineButtonAndKeysAndShowsOneBox) {
  struct Case {
    const char* label;
    const char* failing;
    std::function<void()> query;
  };
  const Case cases[] = {
      {"selection mode", kSelectionPrefix, [] { user::click(Form1->CheckBox1); }},
      {"search mode", kSearchPrefix, [] { search("123"); }},
  };
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.label);
      log.failStatementsStartingWith("");
      chooseAudiA4();
      run.boxes.clear();
      log.failStatementsStartingWith(c.failing);
      VisibilityEvents listEvents(Form1->ListView1->Widget());

      c.query();

      ASSERT_EQ(run.boxes.size(), 1u);
      EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::Message);
      EXPECT_EQ(run.boxes[0].text, "SQLITE_INTERRUPT[9]: interrupted");
      EXPECT_EQ(rowsOf(Form1->ListView1), kAudiA4Rows);
      EXPECT_EQ(statusLine(Form1), kFourHits);
      EXPECT_EQ(Form1->Label5->Font()->Color(), clBlack);
      EXPECT_TRUE(Form1->Button4->Enabled());
      EXPECT_EQ(rowSystemIds[3].str(), "103");
      EXPECT_EQ(rowIterations[2].str(), "2");
      // The list is hidden and shown again after the failure as after a success.
      EXPECT_EQ(listEvents.seen, "HS");
      EXPECT_TRUE(Form1->ListView1->Visible());
    }
  });
}

TEST_F(ResultListTest, ListIsHiddenAndShownOnceAfterEveryQuery) {
  withMainWindow([] {
    VisibilityEvents listEvents(Form1->ListView1->Widget());
    chooseAudiA4();
    EXPECT_EQ(listEvents.seen, "HS");
    EXPECT_TRUE(Form1->ListView1->Widget()->isVisible());
  });
}

// ---------------------------------------------------------------------------------------------
// More rows than the row-key tables hold

// 8,005 applications of one model, also all found by one search; their capacities sort them.
const char* const kLargeCatalogue =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 8005)"
    " INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, CUCP_VAL, ITER, UKLADY)"
    " SELECT 'S' || i, 'V' || i, 'Big', 'Model', printf('%05d', i), '1', 'LOT-7' FROM n;";

#if CATALOG_POLISH
const char* const kSelectionStatus8005 = "Znaleziono 8005 układów spełniających Twoje kryteria wyszukiwania.";
const char* const kSearchStatus8005 = "Znaleziono 8005 układów zawierających tłumik o numerze  LOT-7";
#else
const char* const kSelectionStatus8005 = "Es würden 8005 Abgasanlagen nach Ihren Auswahlkriterien gefunden.";
const char* const kSearchStatus8005 = "Abgasanlagen, die den Schalldämpfer mit der Nummer LOT-7 beinhalten";
#endif

class LargeResultTest : public ResultListTest {
 protected:
  void SetUp() override {
    folder.writeCatalogue(kLargeCatalogue);
    folder.writeLogo();
  }
};

TEST_F(LargeResultTest, ListShowsTheFirst8000RowsAndTheStatusLineCountsEveryHit) {
  struct Case {
    const char* label;
    std::function<void()> query;
    const char* status;
  };
  const Case cases[] = {
      {"selection mode",
       [] {
         choose(Form1->ComboBox1, "Big");
         choose(Form1->ComboBox2, "Model");
       },
       kSelectionStatus8005},
      {"search mode", [] { search("LOT-7"); }, kSearchStatus8005},
  };
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.label);
      Form1->ListView1->Clear();
      c.query();
      TListItems* items = Form1->ListView1->Items();
      ASSERT_EQ(items->Count(), 8000);
      EXPECT_EQ(items->Item(0)->Caption().str(), "V1");
      EXPECT_EQ(items->Item(7999)->Caption().str(), "V8000");
      EXPECT_EQ(rowSystemIds[7999].str(), "S8000");
      EXPECT_EQ(rowIterations[7999].str(), "1");
      EXPECT_EQ(statusLine(Form1), c.status);
      EXPECT_TRUE(Form1->Button4->Enabled());
    }
  });
  EXPECT_TRUE(run.boxes.empty());
}

}  // namespace
