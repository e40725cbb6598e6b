// The details window's layout for the number of items, and its parts list: a table of one row
// of three labels (number, kind name, quantity) per drawn item that has a number. The labels
// carry the item's number as Tag and the hover handler, so that pointing at a row highlights the
// same item as pointing at its picture.
#include "app/DetailsView.h"
#include "app/Unit1.h"
#include "forms/Layouts.h"

namespace {

// A label of row `item`, replacing the one of an earlier view. AutoSize goes off only after the
// caption and the font size are set, so the label keeps the height of its text at that size and
// then takes the column's width.
void makeRowLabel(TLabel*& slot, const AnsiString& caption, const forms::PartsColumnLayout& column,
                  int item) {
  TLabel* label = replaceLabel(slot);
  label->SetCaption(caption);
  label->SetLeft(column.left);
  label->SetTop(forms::partsRowTop(item));
  label->Font()->SetSize(forms::kPartsFontSize);
  label->SetParent(detailsForm);
  label->SetVisible(true);
  label->SetAutoSize(false);
  label->SetWidth(column.width);
  label->SetTransparent(true);
  if (column.alignment == forms::Alignment::Center) label->SetAlignment(taCenter);
  label->SetTag(item);
  label->OnMouseMove = detailsHoverHandler();
  label->Font()->SetColor(forms::kPartsFontColour);
}

}  // namespace

void fitDetailsLayout(int items) {
  // The width only grows: a later view with fewer items keeps the wide window.
  const forms::DetailsWindowLayout& window = forms::kDetailsWindow;
  if (items > window.wideAboveItems) detailsForm->SetWidth(window.wideWidth);
  const int ruleHeight = forms::partsRuleHeight(items);
  detailsBevels[2]->SetHeight(ruleHeight);
  detailsBevels[3]->SetHeight(ruleHeight);
  detailsShape->SetTop(detailsBevels[3]->Top() + detailsBevels[3]->Height());
}

void buildPartsList(int items) {
  for (int i = 1; i <= items && i <= kMaxItems; ++i) {
    // A row's place follows its item number: an item without a number leaves an empty line.
    if (itemNumbers[i].IsEmpty()) continue;
    makeRowLabel(numberLabels[i], itemNumbers[i], forms::kPartsNumberColumn, i);
    makeRowLabel(nameLabels[i], itemNames[i], forms::kPartsNameColumn, i);
    makeRowLabel(quantityLabels[i], itemQuantities[i], forms::kPartsQuantityColumn, i);
  }
}
