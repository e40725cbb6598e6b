// The selection cascade: make, model, year and capacity lists and the two filters. A make resets
// everything below it and loads its models; a model opens the rest and runs the result list with
// the year and capacity lists; every later year, capacity or filter runs the result list again.
//
// Lists and boxes changed from code here raise no handler of their own, so no step below sets off
// a query that its handler does not run itself.
#include <algorithm>

#include "app/Queries.h"
#include "app/TextUtil.h"
#include "app/Unit1.h"
#include "forms/Texts.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace {

// The year list offers only the years strictly between 1950 and 2020.
constexpr int kFirstListedYear = 1951;
constexpr int kLastListedYear = 2019;
constexpr int kListedYears = kLastListedYear - kFirstListedYear + 1;

// CYPR_END of an application that is still produced: it runs to the current year.
constexpr int kStillProduced = 3000;

// Marks the listed years that one production period covers. The period is cut to the listed
// span before it is walked, so a period of any width (a damaged row from -2147483648 to
// 2147483647 among them) costs at most 69 steps, and the walk never steps past INT_MAX.
void markYears(int start, int end, bool (&listed)[kListedYears]) {
  const int first = std::max(start, kFirstListedYear);
  const int last = std::min(end, kLastListedYear);
  for (int year = first; year <= last; ++year) listed[year - kFirstListedYear] = true;
}

}  // namespace

void TForm1::ComboBox1Change(TObject*) {
  const TextSet& text = texts();

  // The last preview loses its background; its part pictures stay until the next preview.
  if (previewBackground != nullptr) previewBackground->SetVisible(false);

  // Everything below the make back to its first state. The status line keeps its colour.
  ComboBox2->Clear();
  Label5->SetCaption(text.statusHint);
  ComboBox3->Clear();
  ComboBox4->Clear();
  Edit1->SetText(AnsiString());
  if (ComboBox1->ItemIndex() == 0) {
    ComboBox2->AddItem(text.modelPlaceholderWithoutMake, nullptr);
    ComboBox2->SetEnabled(false);
  } else {
    ComboBox2->AddItem(text.modelPlaceholder, nullptr);
    ComboBox2->SetEnabled(true);
  }
  ComboBox3->AddItem(text.yearCapacityPlaceholder, nullptr);
  ComboBox4->AddItem(text.yearCapacityPlaceholder, nullptr);
  ComboBox3->SetEnabled(false);
  ComboBox4->SetEnabled(false);
  ComboBox3->SetItemIndex(0);
  ComboBox4->SetItemIndex(0);
  CheckBox1->SetChecked(false);
  CheckBox2->SetChecked(false);
  CheckBox1->SetEnabled(false);
  CheckBox2->SetEnabled(false);
  ListView1->Clear();

  // The models of the make; the make placeholder is queried too, as its own text.
  try {
    SqlTable result = catalogDb.queryTable(modelListQuery(ComboBox1->Text()).c_str());
    const int rows = result.rowCount();
    for (int r = 0; r < rows; ++r) {
      result.selectRow(r);
      ComboBox2->AddItem(result.valueAt(0), nullptr);
    }
    ComboBox2->SetItemIndex(0);
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }

  if (ComboBox2->Enabled()) ComboBox2->SetFocus();
}

void TForm1::ComboBox2Change(TObject*) {
  // An empty search field puts the result list in selection mode.
  Edit1->SetText(AnsiString());
  ComboBox3->SetEnabled(true);
  ComboBox4->SetEnabled(true);
  CheckBox1->SetEnabled(true);
  CheckBox2->SetEnabled(true);
  Button4->SetEnabled(true);

  // Interim entries with nothing selected, so that the result list below has neither a year nor
  // a capacity clause; the fillers replace them.
  const AnsiString& interim = texts().interimAllEntry;
  ComboBox3->Clear();
  ComboBox3->AddItem(interim, nullptr);
  ComboBox4->Clear();
  ComboBox4->AddItem(interim, nullptr);

  getSystemList(this);
  getYears();
  getEngines();
}

void TForm1::ComboBox3Change(TObject*) {
  Edit1->SetText(AnsiString());
  getSystemList(this);
}

void TForm1::ComboBox4Change(TObject*) {
  Edit1->SetText(AnsiString());
  getSystemList(this);
}

void TForm1::CheckBox1Click(TObject*) {
  Edit1->SetText(AnsiString());
  getSystemList(this);
}

void TForm1::CheckBox2Click(TObject*) {
  Edit1->SetText(AnsiString());
  getSystemList(this);
}

void TForm1::getYears() {
  try {
    SqlTable result = catalogDb.queryTable(yearListQuery(ComboBox1->Text(), ComboBox2->Text()).c_str());
    ComboBox3->Clear();

    // Each application covers its years from CYPR_START to CYPR_END; 3000 means up to today.
    const int currentYear = platform::today().year;
    bool listed[kListedYears] = {};
    const int rows = result.rowCount();
    for (int r = 0; r < rows; ++r) {
      result.selectRow(r);
      const int start = readNumber(result.valueAt(0));
      int end = readNumber(result.valueAt(1));
      if (end == kStillProduced) end = currentYear;
      markYears(start, end, listed);
    }

    // Each listed year once, ascending, after the entry for all years.
    ComboBox3->AddItem(texts().allEntry, nullptr);
    for (int i = 0; i < kListedYears; ++i) {
      if (listed[i]) ComboBox3->AddItem(AnsiString(kFirstListedYear + i), nullptr);
    }
    ComboBox3->SetItemIndex(0);
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
}

void TForm1::getEngines() {
  try {
    SqlTable result = catalogDb.queryTable(capacityListQuery(ComboBox1->Text(), ComboBox2->Text()).c_str());
    ComboBox4->Clear();
    ComboBox4->AddItem(texts().allEntry, nullptr);
    const int rows = result.rowCount();
    for (int r = 0; r < rows; ++r) {
      result.selectRow(r);
      ComboBox4->AddItem(result.valueAt(0), nullptr);
    }
    ComboBox4->SetItemIndex(0);
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
}
