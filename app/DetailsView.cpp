// The details window: the click on "Details" that turns the selected result row into the system
// data panel, the drawing and the parts list, and shows the window. One window serves every view;
// each click clears what the previous one left and fills it again.
#include "app/DetailsView.h"

#include "app/Queries.h"
#include "app/Unit1.h"
#include "forms/Layouts.h"
#include "forms/Texts.h"
#include "platform/Dialogs.h"

namespace {

// infoLabels holds each pair's caption, then its value, in the order the labels are made.
TLabel*& captionSlot(int pair) { return infoLabels[2 * pair]; }
TLabel*& valueSlot(int pair) { return infoLabels[2 * pair + 1]; }

void hideLabel(TLabel* label) {
  if (label == nullptr) return;  // no row was ever built at this index
  label->SetEnabled(false);
  label->SetVisible(false);
  label->SetTag(0);
  label->SetLeft(0);
}

// Hides and disables what the previous view drew and listed; nothing is deleted here.
void hidePreviousView() {
  const int items = detailsItemCount < kMaxItems ? detailsItemCount : kMaxItems;
  for (int i = 1; i <= items; ++i) {
    detailsImages[i]->SetVisible(false);
    detailsImages[i]->SetEnabled(false);
    hideLabel(numberLabels[i]);
    hideLabel(nameLabels[i]);
    hideLabel(quantityLabels[i]);
  }
}

void placePanelLabel(TLabel* label, int top, int left, bool bold) {
  label->SetTop(top);
  label->SetLeft(left);
  label->SetParent(detailsForm);
  label->SetEnabled(true);
  label->SetVisible(true);
  label->Font()->SetSize(forms::kPanelFontSize);
  if (bold) label->Font()->SetStyle(fsBold);
}

// The shown text of a pair's value. The last pair prints SQL NULL the way the C library prints a
// null text; the others show it empty. Long texts are shown whole.
AnsiString panelValue(const SqlTable& system, int pair) {
  const char* value = system.valueAt(forms::kPanelPairs[pair].resultColumn);
  if (value == nullptr && pair == forms::kPanelPairCount - 1) return texts().panelNullAdditional;
  return AnsiString(value);
}

// The eight caption and value labels of the first row of the system's data. A failure ends the
// panel where it happens: the pairs built so far keep their new labels, the others the previous
// view's; a value label whose text could not be read exists but stands nowhere until the next
// view deletes it.
void fillSystemPanel(int row) {
  try {
    SqlTable system = catalogDb.queryTable(systemDataQuery(rowSystemIds[row], rowIterations[row]).c_str());
    system.selectRow(0);
    for (int pair = 0; pair < forms::kPanelPairCount; ++pair) {
      const forms::PanelPairLayout& layout = forms::kPanelPairs[pair];
      TLabel* caption = replaceLabel(captionSlot(pair));
      caption->SetCaption(forms::textOf(layout.caption));
      placePanelLabel(caption, layout.captionTop, forms::kPanelCaptionLeft, true);

      TLabel* value = replaceLabel(valueSlot(pair));
      value->SetCaption(panelValue(system, pair));
      placePanelLabel(value, layout.valueTop, forms::kPanelValueLeft, false);
    }
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
}

}  // namespace

TLabel* replaceLabel(TLabel*& slot) {
  delete slot;
  slot = nullptr;
  slot = new TLabel(detailsForm);
  return slot;
}

void TForm1::Button4Click(TObject*) {
  // 1. Only a selected row has a system to show; an open window keeps its content.
  const int row = ListView1->ItemIndex();
  if (row < 0) {
    const TextSet& text = texts();
    Application->MessageBox(text.noSelectionText.c_str(), text.noSelectionCaption.c_str(),
                            MB_OK | MB_ICONEXCLAMATION);
    return;
  }

  // 2. to 4. The previous view hidden, the data panel, the drawing; the drawing runs also when
  // the panel's query failed.
  hidePreviousView();
  fillSystemPanel(row);
  const int items = drawDetailsItems(row);

  // 5. to 8. The window on screen, laid out for the items, then the parts list.
  detailsForm->Show();
  fitDetailsLayout(items);
  detailsItemCount = items;
  buildPartsList(items);
}
