// The number search: the empty-field box, Enter in the field, the selection put back to its
// first state before the search, and what a failing search leaves behind.
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

// Part number 4711 belongs to two Audi systems; the BMW has none.
const char* const kCatalogue =
    "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, CYPR_START, CYPR_END, CUCP_VAL, MCAT, MDIE, ITER, UKLADY)"
    " VALUES"
    " ('101', 'V-101', 'Audi', 'A4', '1995', '2001', '1781', 'CAT', '', '1', 'V-101'),"
    " ('102', 'V-102', 'Audi', 'A4', '1996', '2001', '1896', 'CAT', 'Diesel', '1', 'V-102'),"
    " ('201', 'V-201', 'BMW', '3er', '1990', '1998', '1596', 'CAT', 'Diesel', '1', 'V-201'),"
    " ('301', 'V-301', 'Citroen', 'AX', '1987', '1998', '954', '', '', '1', 'V-301');"
    "INSERT INTO T_U (ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H, OE, VELDO) VALUES"
    " ('P1', '101', 'T1', '1', 'p', '0', '0', '10', '10', '', '4711'),"
    " ('P2', '102', 'T1', '1', 'p', '0', '0', '10', '10', '', '4711');";

#if CATALOG_POLISH
const char* const kEmptyText = "Musisz wpisać szukaną frazę.";
const char* const kEmptyCaption = "BŁĄD";
const char* const kSearchStatus4711 = "Znaleziono 2 układów zawierających tłumik o numerze  4711";
#else
const char* const kEmptyText = "Keine Schalldämpfernummer.";
const char* const kEmptyCaption = "FEHLER";
const char* const kSearchStatus4711 = "Abgasanlagen, die den Schalldämpfer mit der Nummer 4711 beinhalten";
#endif

// What the selection controls show: entries, chosen index, enabled and checked state.
struct SelectionState {
  std::vector<Entries> lists;
  std::vector<int> indexes;
  std::vector<bool> enabled;
  std::vector<bool> checked;

  bool operator==(const SelectionState& other) const {
    return lists == other.lists && indexes == other.indexes && enabled == other.enabled &&
           checked == other.checked;
  }
};

SelectionState selectionState() {
  SelectionState state;
  for (TComboBox* list : {Form1->ComboBox1, Form1->ComboBox2, Form1->ComboBox3, Form1->ComboBox4}) {
    state.lists.push_back(entriesOf(list));
    state.indexes.push_back(list->ItemIndex());
    state.enabled.push_back(list->Enabled());
  }
  for (TCheckBox* filter : {Form1->CheckBox1, Form1->CheckBox2}) {
    state.enabled.push_back(filter->Enabled());
    state.checked.push_back(filter->Checked());
  }
  return state;
}

void chooseAudiA4WithEverything() {
  choose(Form1->ComboBox1, "Audi");
  choose(Form1->ComboBox2, "A4");
  choose(Form1->ComboBox3, "1998");
  choose(Form1->ComboBox4, "1781");
  user::click(Form1->CheckBox1);
  user::click(Form1->CheckBox2);
}

class NumberSearchTest : public cascade::ProgramTest {
 protected:
  NumberSearchTest() : ProgramTest(kCatalogue) {}
};

TEST_F(NumberSearchTest, EmptyFieldShowsTheWarningAndChangesNothing) {
  struct Case {
    const char* label;
    std::function<void()> send;
  };
  const Case cases[] = {
      {"the button", [] { user::click(Form1->Button1); }},
      {"Enter in the field", [] { user::pressKey(Form1->Edit1, Qt::Key_Return); }},
  };
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.label);
      chooseAudiA4WithEverything();
      const SelectionState before = selectionState();
      const std::string status = statusLine(Form1);
      const int rows = Form1->ListView1->Items()->Count();
      run.boxes.clear();
      log.clear();

      c.send();

      ASSERT_EQ(run.boxes.size(), 1u);
      EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::MessageBox);
      EXPECT_EQ(run.boxes[0].text, kEmptyText);
      EXPECT_EQ(run.boxes[0].caption, kEmptyCaption);
      EXPECT_EQ(run.boxes[0].flags, 0x30u);
      EXPECT_TRUE(log.statements().empty());
      EXPECT_TRUE(selectionState() == before);
      EXPECT_EQ(statusLine(Form1), status);
      EXPECT_EQ(Form1->ListView1->Items()->Count(), rows);
    }
  });
}

TEST_F(NumberSearchTest, BlanksAreSearchedRatherThanRefused) {
  withMainWindow([&] {
    user::type(Form1->Edit1, "   ");
    user::click(Form1->Button1);
    EXPECT_TRUE(run.boxes.empty());
    ASSERT_EQ(log.startingWith(kSearchPrefix).size(), 1u);
    EXPECT_NE(log.startingWith(kSearchPrefix)[0].find("T_U.VELDO = '   '"), std::string::npos);
  });
}

TEST_F(NumberSearchTest, EnterSearchesAndTheFieldStillTakesEveryKey) {
  withMainWindow([&] {
    user::type(Form1->Edit1, "47");
    user::pressKey(Form1->Edit1, Qt::Key_Return);
    EXPECT_EQ(log.startingWith(kSearchPrefix).size(), 1u);
    user::type(Form1->Edit1, "11");
    EXPECT_EQ(Form1->Edit1->Text().str(), "4711");

    // The handler leaves every key as it came, Enter included.
    for (char typed : {'\r', 'x'}) {
      char key = typed;
      Form1->Edit1KeyPress(Form1->Edit1, key);
      EXPECT_EQ(key, typed);
    }
    EXPECT_EQ(log.startingWith(kSearchPrefix).size(), 2u) << "only Enter searches";
  });
}

TEST_F(NumberSearchTest, SearchWithFiltersTickedPutsTheSelectionBackAndSearchesTheNumber) {
  withMainWindow([&] {
    const SelectionState atStartUp = selectionState();
    chooseAudiA4WithEverything();
    user::type(Form1->Edit1, "4711");
    log.clear();

    user::click(Form1->Button1);

    // One query, the search: no selection handler ran for the controls put back.
    ASSERT_EQ(log.statements().size(), 1u);
    EXPECT_EQ(log.statements()[0].rfind(kSearchPrefix, 0), 0u);
    EXPECT_TRUE(selectionState() == atStartUp);
    EXPECT_EQ(entriesOf(Form1->ComboBox2), Entries{kModelPlaceholderWithoutMake});
    EXPECT_EQ(entriesOf(Form1->ComboBox3), Entries{kYearCapacityPlaceholder});
    EXPECT_FALSE(Form1->CheckBox1->Checked());
    EXPECT_FALSE(Form1->CheckBox2->Enabled());
    EXPECT_EQ(Form1->Edit1->Text().str(), "4711");
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 2);
    EXPECT_EQ(statusLine(Form1), kSearchStatus4711);
    EXPECT_TRUE(Form1->Button4->Enabled());
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(NumberSearchTest, MakeListHoldsTheSameEntriesAfterAnyNumberOfSearches) {
  withMainWindow([] {
    const SelectionState atStartUp = selectionState();
    for (const char* make : {"Audi", "BMW", "Citroen"}) {
      SCOPED_TRACE(make);
      choose(Form1->ComboBox1, make);
      Form1->Edit1->SetText("4711");
      user::click(Form1->Button1);
      EXPECT_TRUE(selectionState() == atStartUp);
      for (TComboBox* list : {Form1->ComboBox2, Form1->ComboBox3, Form1->ComboBox4}) {
        EXPECT_EQ(list->Items()->Count(), 1);
      }
    }
    // Right after a search another one changes nothing either.
    user::click(Form1->Button1);
    EXPECT_TRUE(selectionState() == atStartUp);
  });
}

TEST_F(NumberSearchTest, FailingSearchKeepsTheListWhileTheSelectionStaysPutBack) {
  withMainWindow([&] {
    choose(Form1->ComboBox1, "Audi");
    choose(Form1->ComboBox2, "A4");
    ASSERT_EQ(Form1->ListView1->Items()->Count(), 2);
    const std::string status = statusLine(Form1);
    log.failStatementsStartingWith(kSearchPrefix);
    Form1->Edit1->SetText("4711");

    user::click(Form1->Button1);

    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, "SQLITE_INTERRUPT[9]: interrupted");
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 2);
    EXPECT_EQ(statusLine(Form1), status);
    EXPECT_EQ(entriesOf(Form1->ComboBox2), Entries{kModelPlaceholderWithoutMake});
    EXPECT_FALSE(Form1->ComboBox2->Enabled());
    EXPECT_EQ(Form1->Edit1->Text().str(), "4711");
  });
}

}  // namespace
