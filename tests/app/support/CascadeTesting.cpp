#include "app/support/CascadeTesting.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/UserInput.h"
#include "platform/CodePage.h"

namespace cascade {

std::vector<std::string> entriesOf(TComboBox* combo) {
  std::vector<std::string> entries;
  for (int i = 0; i < combo->Items()->Count(); ++i)
    entries.push_back(utf8(combo->Items()->Strings(i).c_str()));
  return entries;
}

std::vector<ListRow> rowsOf(TListView* list) {
  std::vector<ListRow> rows;
  for (int r = 0; r < list->Items()->Count(); ++r) {
    const TListItem* item = list->Items()->Item(r);
    ListRow row{utf8(item->Caption().c_str())};
    for (int s = 0; s < item->SubItems()->Count(); ++s)
      row.push_back(utf8(item->SubItems()->Strings(s).c_str()));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string statusLine(TForm1* form) { return utf8(form->Label5->Caption().c_str()); }

void choose(TComboBox* combo, const std::string& utf8Entry) {
  const int index = combo->Items()->IndexOf(AnsiString(ansi(utf8Entry)));
  ASSERT_GE(index, 0) << "no entry " << utf8Entry;
  user::chooseEntry(combo, index);
}

bool holdsTheFocus(TWinControl* control) {
  QWidget* widget = control->Widget();
  return widget->window()->focusWidget() == widget;
}

void holdUpdateCheck(TForm1* form) { form->Timer1->SetEnabled(false); }

std::string ansi(const std::string& utf8) { return platform::utf8ToAnsi(utf8); }

FixedYear::FixedYear(int year)
    : previous_(platform::setTodayHandler([year] {
        return platform::Date{year, 5, 1};
      })) {}

FixedYear::~FixedYear() { platform::setTodayHandler(previous_); }

void ProgramTest::SetUp() {
  folder.writeCatalogue(catalogue_);
  folder.writeLogo();
}

void ProgramTest::withMainWindow(const std::function<void()>& steps) {
  bool ran = false;
  EXPECT_EQ(run.run([&] {
    ASSERT_NE(Form1, nullptr);
    holdUpdateCheck(Form1);
    log.clear();
    steps();
    ran = true;
  }),
            0);
  EXPECT_TRUE(ran);
}

}  // namespace cascade
