#include "app/support/ProgramControls.h"

#include "app/Unit1.h"

void releaseProgramControls() {
  for (TImage*& image : previewImages) {
    delete image;
    image = nullptr;
  }
  for (TImage*& image : detailsImages) {
    delete image;
    image = nullptr;
  }
  // Everything else went with the details window that owned it.
  delete detailsForm;
  detailsForm = nullptr;
  detailsLogo = nullptr;
  detailsShape = nullptr;
  detailsBackground = nullptr;
  for (auto* table : {numberLabels, nameLabels, quantityLabels}) {
    for (int i = 0; i < kItemSlots; ++i) table[i] = nullptr;
  }
  for (TLabel*& label : infoLabels) label = nullptr;
  for (TLabel*& label : detailsHeaderLabels) label = nullptr;
  for (TBevel*& bevel : detailsBevels) bevel = nullptr;
  detailsItemCount = 0;
  hoveredItem = 0;
  previewItemCount = 0;
}
