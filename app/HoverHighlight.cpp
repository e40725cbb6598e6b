// The hover highlight of the details window: the item under the pointer, reached through its
// picture or its parts-list row, shows its highlight picture with its row in red; the item
// highlighted before goes back to its normal picture and black. Only a change of the Tag under
// the pointer costs anything, and then at most two picture decodes.
#include "app/ShowPng.h"
#include "app/Unit1.h"

namespace {

// Whether `tag` names an entry of the picture pool and the label tables. The window's and the
// background's Tag lies outside them; its flag entry is never "0" or "1".
bool isItemSlot(int tag) { return tag >= 0 && tag < kItemSlots; }

bool flagIs(int tag, const char* state) {
  return tag >= 0 && tag < kItemFlags && itemHighlighted[tag] == state;
}

void colourRow(int item, TColor colour) {
  for (TLabel* label : {numberLabels[item], nameLabels[item], quantityLabels[item]}) {
    if (label != nullptr) label->Font()->SetColor(colour);
  }
}

}  // namespace

void TForm1::myShapesMouseMove(TObject* Sender, TShiftState, int, int) {
  const auto* control = dynamic_cast<const TComponent*>(Sender);
  if (control == nullptr) return;
  const int tag = control->Tag();

  // 1. Still over the item handled last (its picture or its own row): nothing to do.
  if (tag == hoveredItem) return;

  // 2. The new item first. The flag and the row change whether or not the picture loads.
  if (isItemSlot(tag) && flagIs(tag, "0")) {
    colourRow(tag, clRed);
    itemHighlighted[tag] = "1";
    showPngInImage(detailsImages[tag], itemHotPicture[tag].c_str());
  }

  // 3. Then the previous one back to normal.
  const int previous = hoveredItem;
  if (isItemSlot(previous) && flagIs(previous, "1")) {
    colourRow(previous, clBlack);
    itemHighlighted[previous] = "0";
    showPngInImage(detailsImages[previous], itemNormalPicture[previous].c_str());
  }

  // 4.
  hoveredItem = tag;
}
