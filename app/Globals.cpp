// The file-scope objects of the main unit and their construction and teardown.
#include "app/Unit1.h"

const char* const catalogFileName = "veldo28.bgp";
const int catalogVersion = 29999;

TForm1* Form1 = nullptr;

// Defined in the order of construction, so that the C++ runtime's own static teardown, which
// follows freeGlobals, runs in the reverse order as well.
SqlDb catalogDb;
AnsiString rowSystemIds[kResultRows];
AnsiString rowIterations[kResultRows];
AnsiString itemHotPicture[kItemFlags];
AnsiString itemNormalPicture[kItemFlags];
AnsiString itemHighlighted[kItemFlags];
AnsiString itemNumbers[kItemSlots];
AnsiString itemNames[kItemSlots];
AnsiString itemQuantities[kItemSlots];

TForm* detailsForm = nullptr;
TImage* detailsLogo = nullptr;
TLabel* detailsHeaderLabels[3] = {};
TBevel* detailsBevels[4] = {};
TShape* detailsShape = nullptr;
TImage* detailsBackground = nullptr;
TLabel* infoLabels[16] = {};
TImage* detailsImages[kItemSlots] = {};
int detailsItemCount = 0;
TLabel* numberLabels[kItemSlots] = {};
TLabel* nameLabels[kItemSlots] = {};
TLabel* quantityLabels[kItemSlots] = {};
int hoveredItem = 0;
TImage* previewImages[kPreviewSlots] = {};
TImage*& previewBackground = previewImages[kPreviewSlots - 1];
int previewItemCount = 0;

namespace {

void fillTexts(AnsiString* table, int count, const AnsiString& first) {
  table[0] = first;
  for (int i = 1; i < count; ++i) table[i] = AnsiString();
}

void emptyTexts(AnsiString* table, int count) {
  for (int i = count - 1; i >= 0; --i) table[i] = AnsiString();
}

}  // namespace

void initGlobals() {
  // 1. The connection: constructed with the C++ runtime's static objects, not open.
  // 2. The details drawing's picture pool, no owner: Form1 does not exist yet.
  for (TImage*& image : detailsImages) image = new TImage(nullptr);
  // 3. The row keys of the result list.
  fillTexts(rowSystemIds, kResultRows, "0");
  fillTexts(rowIterations, kResultRows, "0");
  // 4. The hover tables.
  fillTexts(itemHotPicture, kItemFlags, "0");
  fillTexts(itemNormalPicture, kItemFlags, "0");
  fillTexts(itemHighlighted, kItemFlags, "0");
  // 5. The preview's picture pool, no owner.
  for (TImage*& image : previewImages) image = new TImage(nullptr);
  // 6. The details window, a plain form without designed layout.
  detailsForm = new TForm(nullptr);
  // 7. Its logo.
  detailsLogo = new TImage(detailsForm);
  // 8. The parts list texts.
  fillTexts(itemNumbers, kItemSlots, AnsiString());
  fillTexts(itemNames, kItemSlots, AnsiString());
  fillTexts(itemQuantities, kItemSlots, AnsiString());
  // 9. Slot 0 of the label tables: labels that are never placed or shown.
  numberLabels[0] = new TLabel(detailsForm);
  nameLabels[0] = new TLabel(detailsForm);
  quantityLabels[0] = new TLabel(detailsForm);
  // 10. to 12. The rules, the corner square and the drawing background.
  for (TBevel*& bevel : detailsBevels) bevel = new TBevel(detailsForm);
  detailsShape = new TShape(detailsForm);
  detailsBackground = new TImage(detailsForm);
}

void freeGlobals() {
  emptyTexts(itemQuantities, kItemSlots);
  emptyTexts(itemNames, kItemSlots);
  emptyTexts(itemNumbers, kItemSlots);
  emptyTexts(itemHighlighted, kItemFlags);
  emptyTexts(itemNormalPicture, kItemFlags);
  emptyTexts(itemHotPicture, kItemFlags);
  emptyTexts(rowIterations, kResultRows);
  emptyTexts(rowSystemIds, kResultRows);
  catalogDb.close();
}
