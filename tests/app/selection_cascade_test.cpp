// The selection cascade as the user drives it: what a make, a model, a year, a capacity and each
// filter reset, fill and query, the year list built from the production periods, and the lists
// left behind by a failing query.
#include <gtest/gtest.h>

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
using cascade::entriesOf;
using cascade::statusLine;
using Entries = std::vector<std::string>;

// Audi A4: three systems, one still produced. Audi A6: capacities that sort as text, and NULL.
// BMW: two models. "Years": one model per kind of production period.
const char* const kCatalogue =
    "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, CYPR_START, CYPR_END, CUCP_VAL, MCAT, MDIE, ITER) VALUES"
    " ('101', 'V-101', 'Audi', 'A4', '1995', '2001', '1781', 'CAT', '', '1'),"
    " ('102', 'V-102', 'Audi', 'A4', '1996', '2001', '1896', 'CAT', 'Diesel', '1'),"
    " ('103', 'V-103', 'Audi', 'A4', '2001', '3000', '1984', '', '', '1'),"
    " ('111', 'V-111', 'Audi', 'A6', '1997', '2004', '999', '', '', '1'),"
    " ('112', 'V-112', 'Audi', 'A6', '1997', '2004', '1372', '', '', '1'),"
    " ('113', 'V-113', 'Audi', 'A6', '1997', '2004', NULL, '', '', '1'),"
    " ('201', 'V-201', 'BMW', '5er', '1995', '2003', '2494', 'CAT', '', '1'),"
    " ('202', 'V-202', 'BMW', '3er', '1990', '1998', '1596', 'CAT', '', '1'),"
    " ('301', 'V-301', 'Years', 'Overlapping', '1948', '1953', '1', '', '', '1'),"
    " ('302', 'V-302', 'Years', 'Overlapping', '1952', '1955', '1', '', '', '1'),"
    " ('303', 'V-303', 'Years', 'Still produced', '2016', '3000', '1', '', '', '1'),"
    " ('304', 'V-304', 'Years', 'Ends before it starts', '2005', '2001', '1', '', '', '1'),"
    " ('305', 'V-305', 'Years', 'Written loosely', ' 1999 (approx.)', '+2000', '1', '', '', '1'),"
    " ('306', 'V-306', 'Years', 'Without a start', NULL, '1952', '1', '', '', '1'),"
    " ('307', 'V-307', 'Years', 'Longer than sixteen', '000000000000000000001990', '  00000000000000001991',"
    "  '1', '', '', '1'),"
    " ('308', 'V-308', 'Years', 'Over two thousand years', '1', '2019', '1', '', '', '1'),"
    " ('309', 'V-309', 'Years', 'Every number', '-2147483648', '2147483647', '1', '', '', '1'),"
    " ('310', 'V-310', 'Years', 'Every number', '-99999999999999999999', '99999999999999999999', '1', '', "
    "'', "
    "'1'),"
    " ('311', 'V-311', 'Years', 'Not a year', 'unknown', NULL, '1', '', '', '1');";

Entries yearsFrom(int first, int last) {
  Entries years;
  for (int year = first; year <= last; ++year) years.push_back(std::to_string(year));
  return years;
}

Entries withAll(Entries entries) {
  entries.insert(entries.begin(), kAll);
  return entries;
}

void chooseAudiA4() {
  choose(Form1->ComboBox1, "Audi");
  choose(Form1->ComboBox2, "A4");
}

class SelectionCascadeTest : public cascade::ProgramTest {
 protected:
  SelectionCascadeTest() : ProgramTest(kCatalogue) {}

  std::vector<std::string> statements() const {
    std::vector<std::string> texts;
    for (const std::string& sql : log.statements()) texts.push_back(utf8(sql.c_str()));
    return texts;
  }

  cascade::FixedYear year{2031};
};

TEST_F(SelectionCascadeTest, MakeLoadsItsModelsAndResetsEverythingBelowWithoutAResultQuery) {
  withMainWindow([&] {
    chooseAudiA4();
    choose(Form1->ComboBox3, "1998");
    choose(Form1->ComboBox4, "1896");
    user::click(Form1->CheckBox1);
    user::click(Form1->CheckBox2);
    ASSERT_EQ(Form1->ListView1->Items()->Count(), 1);
    Form1->Edit1->SetText("123");
    previewBackground->SetVisible(true);
    log.clear();

    choose(Form1->ComboBox1, "BMW");

    EXPECT_EQ(statements(), Entries{"select distinct TYSP from AUTA WHERE MKNM = 'BMW' order by TYSP ASC;"});
    EXPECT_EQ(entriesOf(Form1->ComboBox2), (Entries{kModelPlaceholder, "3er", "5er"}));
    EXPECT_EQ(Form1->ComboBox2->ItemIndex(), 0);
    EXPECT_TRUE(Form1->ComboBox2->Enabled());
    EXPECT_TRUE(cascade::holdsTheFocus(Form1->ComboBox2));
    for (TComboBox* list : {Form1->ComboBox3, Form1->ComboBox4}) {
      EXPECT_EQ(entriesOf(list), Entries{kYearCapacityPlaceholder});
      EXPECT_EQ(list->ItemIndex(), 0);
      EXPECT_FALSE(list->Enabled());
    }
    for (TCheckBox* filter : {Form1->CheckBox1, Form1->CheckBox2}) {
      EXPECT_FALSE(filter->Checked());
      EXPECT_FALSE(filter->Enabled());
    }
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 0);
    EXPECT_TRUE(Form1->Edit1->Text().IsEmpty());
    EXPECT_EQ(statusLine(Form1), kHint);
    EXPECT_FALSE(previewBackground->Visible());
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(SelectionCascadeTest, MakeShowsTheHintInTheColourTheStatusLineHadAndLeavesDetailsAlone) {
  struct Case {
    const char* label;
    std::function<void()> before;
    TColor colour;
    bool details;
  };
  const Case cases[] = {
      {"before any result list", [] {}, clWindowText, false},
      {"after no hits", [] { choose(Form1->ComboBox2, kModelPlaceholder); }, clRed, false},
      {"after hits", [] { choose(Form1->ComboBox2, "A4"); }, clBlack, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    withMainWindow([&] {
      choose(Form1->ComboBox1, "Audi");
      c.before();
      choose(Form1->ComboBox1, "BMW");
      EXPECT_EQ(statusLine(Form1), kHint);
      EXPECT_EQ(Form1->Label5->Font()->Color(), c.colour);
      EXPECT_EQ(Form1->Button4->Enabled(), c.details);
    });
  }
}

TEST_F(SelectionCascadeTest, MakePlaceholderStillQueriesModelsWithItsOwnText) {
  withMainWindow([&] {
    choose(Form1->ComboBox1, "Audi");
    log.clear();
    choose(Form1->ComboBox1, kMakePlaceholder);
    EXPECT_EQ(statements(), Entries{std::string("select distinct TYSP from AUTA WHERE MKNM = '") +
                                    kMakePlaceholder + "' order by TYSP ASC;"});
    EXPECT_EQ(entriesOf(Form1->ComboBox2), Entries{kModelPlaceholderWithoutMake});
    EXPECT_EQ(Form1->ComboBox2->ItemIndex(), 0);
    EXPECT_FALSE(Form1->ComboBox2->Enabled());
    EXPECT_FALSE(cascade::holdsTheFocus(Form1->ComboBox2));
    EXPECT_FALSE(Form1->ComboBox3->Enabled());
    EXPECT_FALSE(Form1->CheckBox1->Enabled());
  });
}

TEST_F(SelectionCascadeTest, ModelOpensTheRestAndRunsResultYearAndCapacityQueriesInThatOrder) {
  withMainWindow([&] {
    choose(Form1->ComboBox1, "Audi");
    Form1->Edit1->SetText("123");
    log.clear();
    choose(Form1->ComboBox2, "A4");

    const Entries queries = statements();
    ASSERT_EQ(queries.size(), 3u);
    EXPECT_EQ(queries[0].rfind(kSelectionPrefix, 0), 0u) << queries[0];
    EXPECT_EQ(
        queries[1],
        "select CYPR_START, CYPR_END from AUTA WHERE MKNM = 'Audi' AND TYSP = 'A4'  order by ID_UKLAD ASC;");
    EXPECT_EQ(
        queries[2],
        "select DISTINCT CUCP_VAL from AUTA WHERE MKNM = 'Audi' AND TYSP = 'A4'  order by CUCP_VAL ASC;");
    EXPECT_TRUE(Form1->Edit1->Text().IsEmpty());
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 3);
    EXPECT_EQ(entriesOf(Form1->ComboBox3), withAll(yearsFrom(1995, 2019)));
    EXPECT_EQ(entriesOf(Form1->ComboBox4), withAll({"1781", "1896", "1984"}));
    for (TWinControl* control : std::vector<TWinControl*>{
             Form1->ComboBox3, Form1->ComboBox4, Form1->CheckBox1, Form1->CheckBox2, Form1->Button4}) {
      EXPECT_TRUE(control->Enabled());
    }
    EXPECT_EQ(Form1->ComboBox3->ItemIndex(), 0);
    EXPECT_EQ(Form1->ComboBox4->ItemIndex(), 0);
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(SelectionCascadeTest, ResultQueryOfAModelRunsWhileYearAndCapacityHoldOnlyTheInterimEntry) {
  Entries years;
  Entries capacities;
  int yearIndex = 0;
  int capacityIndex = 0;
  log.onStatement = [&](const std::string& sql) {
    if (sql.rfind(kSelectionPrefix, 0) != 0) return;
    years = entriesOf(Form1->ComboBox3);
    capacities = entriesOf(Form1->ComboBox4);
    yearIndex = Form1->ComboBox3->ItemIndex();
    capacityIndex = Form1->ComboBox4->ItemIndex();
  };
  withMainWindow([] { chooseAudiA4(); });
  EXPECT_EQ(years, Entries{"Wszystkie"});
  EXPECT_EQ(capacities, Entries{"Wszystkie"});
  EXPECT_EQ(yearIndex, -1);
  EXPECT_EQ(capacityIndex, -1);
}

TEST_F(SelectionCascadeTest, ModelKeepsTheFiltersTheUserTicked) {
  withMainWindow([&] {
    chooseAudiA4();
    user::click(Form1->CheckBox1);
    choose(Form1->ComboBox2, "A4");
    EXPECT_TRUE(Form1->CheckBox1->Checked());
    const std::vector<std::string> queries = log.startingWith(kSelectionPrefix);
    ASSERT_FALSE(queries.empty());
    EXPECT_NE(queries.back().find("AND MCAT = 'CAT' ORDER BY"), std::string::npos) << queries.back();
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 2);
  });
}

TEST_F(SelectionCascadeTest, ModelPlaceholderIsQueriedAsAModelAndFindsNothing) {
  withMainWindow([&] {
    choose(Form1->ComboBox1, "Audi");
    choose(Form1->ComboBox2, kModelPlaceholder);
    const std::vector<std::string> queries = log.startingWith(kSelectionPrefix);
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_NE(utf8(queries[0].c_str()).find(std::string("AND TYSP = '") + kModelPlaceholder + "'"),
              std::string::npos);
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 0);
    EXPECT_EQ(Form1->Label5->Font()->Color(), clRed);
    EXPECT_FALSE(Form1->Button4->Enabled());
    EXPECT_EQ(entriesOf(Form1->ComboBox3), Entries{kAll});
    EXPECT_EQ(entriesOf(Form1->ComboBox4), Entries{kAll});
    EXPECT_TRUE(Form1->ComboBox3->Enabled());
    EXPECT_TRUE(Form1->CheckBox2->Enabled());
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(SelectionCascadeTest, YearListHoldsEachCoveredYearFrom1951To2019Once) {
  struct Case {
    const char* model;
    int currentYear;
    Entries years;
  };
  const Case cases[] = {
      {"Overlapping", 2031, yearsFrom(1951, 1955)},
      {"Still produced", 2031, yearsFrom(2016, 2019)},
      {"Still produced", 2017, yearsFrom(2016, 2017)},
      {"Ends before it starts", 2031, {}},
      {"Written loosely", 2031, {"1999", "2000"}},
      {"Without a start", 2031, {"1951", "1952"}},
      {"Longer than sixteen", 2031, {"1990", "1991"}},
      {"Over two thousand years", 2031, yearsFrom(1951, 2019)},
      {"Every number", 2031, yearsFrom(1951, 2019)},
      {"Not a year", 2031, {}},
  };
  withMainWindow([&] {
    choose(Form1->ComboBox1, "Years");
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.model) + " in " + std::to_string(c.currentYear));
      cascade::FixedYear today(c.currentYear);
      choose(Form1->ComboBox2, c.model);
      EXPECT_EQ(entriesOf(Form1->ComboBox3), withAll(c.years));
      EXPECT_EQ(Form1->ComboBox3->ItemIndex(), 0);
    }
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(SelectionCascadeTest, CapacityListIsInSQLitesAscendingOrderWithNullAsAnEmptyEntry) {
  withMainWindow([] {
    choose(Form1->ComboBox1, "Audi");
    choose(Form1->ComboBox2, "A6");
    EXPECT_EQ(entriesOf(Form1->ComboBox4), withAll({"", "1372", "999"}));
    EXPECT_EQ(Form1->ComboBox4->ItemIndex(), 0);
  });
}

TEST_F(SelectionCascadeTest, YearCapacityAndFiltersEmptyTheSearchFieldAndRunTheResultListAgain) {
  struct Case {
    const char* label;
    std::function<void()> choice;
    const char* clause;
  };
  const Case cases[] = {
      {"year", [] { choose(Form1->ComboBox3, "1998"); }, "AND (CYPR_START <= '1998' AND CYPR_END >= '1998')"},
      {"capacity", [] { choose(Form1->ComboBox4, "1781"); }, "AND CUCP_VAL = '1781'"},
      {"catalyst", [] { user::click(Form1->CheckBox1); }, "AND MCAT = 'CAT'"},
      {"diesel", [] { user::click(Form1->CheckBox2); }, "AND MDIE = 'Diesel'"},
  };
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.label);
      chooseAudiA4();
      Form1->Edit1->SetText("123");
      log.clear();
      c.choice();
      const Entries queries = statements();
      ASSERT_EQ(queries.size(), 1u);
      EXPECT_EQ(queries[0].rfind(kSelectionPrefix, 0), 0u) << queries[0];
      EXPECT_NE(queries[0].find(c.clause), std::string::npos) << queries[0];
      EXPECT_TRUE(Form1->Edit1->Text().IsEmpty());
    }
  });
}

// A query that fails shows its message once; its list keeps what the steps before left in it.
TEST_F(SelectionCascadeTest, FailingListQueryLeavesItsListUnselectedAndTheOthersFilled) {
  struct Case {
    const char* label;
    const char* failing;
    std::function<void()> choice;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"models", "select distinct TYSP", [] { choose(Form1->ComboBox1, "Audi"); },
       [] {
         EXPECT_EQ(entriesOf(Form1->ComboBox2), Entries{kModelPlaceholder});
         EXPECT_EQ(Form1->ComboBox2->ItemIndex(), -1);
         EXPECT_TRUE(Form1->ComboBox2->Enabled());
       }},
      {"years", "select CYPR_START", chooseAudiA4,
       [] {
         EXPECT_EQ(entriesOf(Form1->ComboBox3), Entries{"Wszystkie"});
         EXPECT_EQ(Form1->ComboBox3->ItemIndex(), -1);
         EXPECT_EQ(entriesOf(Form1->ComboBox4), withAll({"1781", "1896", "1984"}));
         EXPECT_EQ(Form1->ListView1->Items()->Count(), 3);
       }},
      {"capacities", "select DISTINCT CUCP_VAL", chooseAudiA4,
       [] {
         EXPECT_EQ(entriesOf(Form1->ComboBox4), Entries{"Wszystkie"});
         EXPECT_EQ(Form1->ComboBox4->ItemIndex(), -1);
         EXPECT_EQ(entriesOf(Form1->ComboBox3), withAll(yearsFrom(1995, 2019)));
       }},
  };
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.label);
      choose(Form1->ComboBox1, "BMW");
      run.boxes.clear();
      log.failStatementsStartingWith(c.failing);
      c.choice();
      log.failStatementsStartingWith("");
      ASSERT_EQ(run.boxes.size(), 1u);
      EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::Message);
      EXPECT_EQ(run.boxes[0].text, "SQLITE_INTERRUPT[9]: interrupted");
      c.check();
    }
  });
}

}  // namespace
