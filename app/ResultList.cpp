// The result list: the one query that fills ListView1, in selection mode or in search mode.
#include <string>

#include "app/Queries.h"
#include "app/TextUtil.h"
#include "app/Unit1.h"
#include "forms/Texts.h"
#include "platform/Dialogs.h"

namespace {

// The text of a combo box's chosen entry, but only for an entry above the placeholder or "Alle".
AnsiString chosenValue(TComboBox* combo) {
  const AnsiString text = combo->Text();
  return combo->ItemIndex() > 0 ? text : AnsiString();
}

// The search text with its commas, then its hyphens, turned into full stops.
AnsiString normalisedNumber(const AnsiString& searchText) {
  std::string number = searchText.str();
  replaceAll(",", ".", number);
  replaceAll("-", ".", number);
  return AnsiString(std::move(number));
}

}  // namespace

void TForm1::getSystemList(TObject*) {
  // The clauses, worked out in the order capacity, diesel, catalyst, year.
  const AnsiString capacity = chosenValue(ComboBox4);
  const SqlClause capacityCondition = capacity.IsEmpty() ? SqlClause() : capacityClause(capacity);
  const SqlClause dieselCondition = CheckBox2->Checked() ? dieselClause() : SqlClause();
  const SqlClause catalystCondition = CheckBox1->Checked() ? catalystClause() : SqlClause();
  const AnsiString year = chosenValue(ComboBox3);
  const SqlClause yearCondition = year.IsEmpty() ? SqlClause() : yearClause(year);

  // An exactly empty search field means selection mode; anything else, blanks too, is searched.
  const AnsiString searchText = Edit1->Text();
  const bool selectionMode = searchText.IsEmpty();
  const AnsiString sql = selectionMode
                             ? selectionQuery(ComboBox1->Text(), ComboBox2->Text(), capacityCondition,
                                              dieselCondition, yearCondition, catalystCondition)
                             : numberSearchQuery(normalisedNumber(searchText), searchText);

  try {
    SqlTable result = catalogDb.queryTable(sql.c_str());
    const int rows = result.rowCount();

    // The status line gives the real number of hits, also beyond what the list holds.
    const TextSet& text = texts();
    if (rows == 0) {
      Label5->Font()->SetColor(clRed);
      Label5->SetCaption(text.noHitsStatus);
      Button4->SetEnabled(false);
    } else {
      Label5->Font()->SetColor(clBlack);
      Label5->SetCaption(selectionMode ? selectionHitsStatus(rows) : searchHitsStatus(rows, searchText));
      Button4->SetEnabled(true);
    }

    // One list row per result row, in result order. The row-key tables hold kResultRows rows, so
    // the list stops there: a row without its keys could be neither previewed nor detailed.
    ListView1->Clear();
    const int shown = rows < kResultRows ? rows : kResultRows;
    for (int i = 0; i < shown; ++i) {
      result.selectRow(i);
      TListItem* item = ListView1->Items()->Add();
      item->SetCaption(result.valueAt(1));
      for (const int column : {2, 3, 4, 5, 6, 7, 11}) item->SubItems()->Add(result.valueAt(column));
      rowSystemIds[i] = result.valueAt(0);
      rowIterations[i] = result.valueAt(10);
    }
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }

  ListView1->SetVisible(false);
  ListView1->SetVisible(true);
}
