// Values that the query texts must carry as they are: search texts written to change a query,
// makes, models and capacities that hold apostrophes, and texts far longer than a catalogue's
// usual ones. Each reaches SQLite as a literal of one read-only statement and finds exactly the
// rows that hold it.
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

using cascade::choose;
using cascade::entriesOf;
using cascade::rowsOf;
using cascade::statusLine;
using Entries = std::vector<std::string>;

const std::string kLongMake = std::string(700, 'M') + "'s";
const std::string kLongModel = std::string(700, 'T');
const std::string kLongCapacity = std::string(40, '9');
const std::string kLongNumber = std::string(3000, '7');

std::string catalogue() {
  return "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, CYPR_START, CYPR_END, CUCP_VAL, ITER, UKLADY) VALUES"
         " ('101', 'V-101', 'Audi', 'A4', '1995', '2001', '1781', '1', 'V-101'),"
         " ('401', 'V-401', 'D''Artagnan', 'L''Eau', '2000', '2002', '1.6 ''S''', '1',"
         "  'V-401;x'' OR ''1''=''1'),"
         " ('402', 'V-402', 'D''Artagnan', 'L''Eau', '2001', '2002', '2.0', '1', 'V-402'),"
         " ('501', 'V-501', '" +
         kLongMake.substr(0, kLongMake.size() - 2) + "''s', '" + kLongModel + "', '1990', '1991', '" +
         kLongCapacity + "', '1', 'LIST;" + kLongNumber +
         ";END'),"
         " ('502', 'V-502', '" +
         kLongMake.substr(0, kLongMake.size() - 2) + "''s', '" + kLongModel +
         "', '1990', '1991', '1400', '1', 'V-502');";
}

std::vector<std::string> systemsIn(TListView* list) {
  std::vector<std::string> systems;
  for (const cascade::ListRow& row : rowsOf(list)) systems.push_back(row.front());
  return systems;
}

void search(const std::string& text) {
  Form1->Edit1->SetText(AnsiString(cascade::ansi(text)));
  user::click(Form1->Button1);
}

class UnusualValuesTest : public cascade::ProgramTest {
 protected:
  UnusualValuesTest() : ProgramTest(catalogue()) {}
};

TEST_F(UnusualValuesTest, SearchTextsWrittenToChangeTheQueryFindOnlyTheRowsHoldingThem) {
  struct Case {
    const char* text;
    Entries systems;
  };
  const Case cases[] = {
      {"x' OR '1'='1", {"V-401"}},
      {"'; DROP TABLE AUTA; --", {}},
      {"') OR 1=1 --", {}},
  };
  const std::string bytesBefore = folder.readFile("veldo28.bgp");
  withMainWindow([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.text);
      log.clear();
      search(c.text);
      EXPECT_EQ(log.statements().size(), 1u) << "one statement only";
      EXPECT_EQ(systemsIn(Form1->ListView1), c.systems);
    }
    // The make table is still there to be read.
    log.clear();
    choose(Form1->ComboBox1, "Audi");
    EXPECT_EQ(entriesOf(Form1->ComboBox2).size(), 2u);
  });
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(folder.readFile("veldo28.bgp"), bytesBefore);
}

TEST_F(UnusualValuesTest, MakeModelAndCapacityWithApostrophesGoThroughTheWholeCascade) {
  withMainWindow([&] {
    choose(Form1->ComboBox1, "D'Artagnan");
    ASSERT_EQ(entriesOf(Form1->ComboBox2).size(), 2u);
    EXPECT_EQ(entriesOf(Form1->ComboBox2)[1], "L'Eau");

    choose(Form1->ComboBox2, "L'Eau");
    EXPECT_EQ(systemsIn(Form1->ListView1), (Entries{"V-401", "V-402"}));
    EXPECT_EQ(entriesOf(Form1->ComboBox3).size(), 4u);  // the entry for all, 2000 to 2002
    EXPECT_EQ(entriesOf(Form1->ComboBox4).back(), "2.0");

    choose(Form1->ComboBox4, "1.6 'S'");
    EXPECT_EQ(systemsIn(Form1->ListView1), Entries{"V-401"});
    choose(Form1->ComboBox3, "2001");
    EXPECT_EQ(systemsIn(Form1->ListView1), Entries{"V-401"});

    // Models, then result, years and capacities, then two more results: one statement each.
    EXPECT_EQ(log.statements().size(), 6u);
  });
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(UnusualValuesTest, LongMakeModelCapacityAndSearchTextAreUsedWhole) {
#if CATALOG_POLISH
  const std::string status = "Znaleziono 1 układów zawierających tłumik o numerze  " + kLongNumber;
#else
  const std::string status =
      "Abgasanlagen, die den Schalldämpfer mit der Nummer " + kLongNumber + " beinhalten";
#endif
  withMainWindow([&] {
    choose(Form1->ComboBox1, kLongMake);
    EXPECT_EQ(entriesOf(Form1->ComboBox2).back(), kLongModel);
    choose(Form1->ComboBox2, kLongModel);
    EXPECT_EQ(systemsIn(Form1->ListView1), (Entries{"V-502", "V-501"}));
    EXPECT_EQ(entriesOf(Form1->ComboBox3).size(), 3u);  // the entry for all, 1990, 1991
    choose(Form1->ComboBox4, kLongCapacity);
    EXPECT_EQ(systemsIn(Form1->ListView1), Entries{"V-501"});

    search(kLongNumber);
    EXPECT_EQ(systemsIn(Form1->ListView1), Entries{"V-501"});
    EXPECT_EQ(statusLine(Form1), status);
  });
  EXPECT_TRUE(run.boxes.empty());
}

}  // namespace
