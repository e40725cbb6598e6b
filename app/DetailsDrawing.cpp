// The details window's drawing: the system's background picture and, above it, one transparent
// picture per visible part and per element of a part, each at the place and size the catalogue
// stores for it. Every item drawn records its parts-list texts and its two picture paths. The walk
// over the rows is the preview's own (DrawingItems.h), so the two always draw the same items.
#include "app/DetailsView.h"
#include "app/DrawingItems.h"
#include "app/Queries.h"
#include "app/ShowPng.h"
#include "app/Unit1.h"

namespace {

constexpr const char kBackgroundPath[] = "data/data_p/%s.dat";
constexpr const char kNormalPath[] = "data/data_b/%s.dat";
constexpr const char kHotPath[] = "data/data_r/%s.dat";

constexpr int kBackgroundLeft = 10;
constexpr int kBackgroundTop = 10;

// The columns of the parts-list texts, beyond what the walk reads.
constexpr int kPartNumber = 4;
constexpr int kPartName = 9;
constexpr int kElementNumber = 1;
constexpr int kElementQuantity = 7;

class DetailsBuild : public DrawingSteps {
 public:
  // 3.1. The background, set again at every part row.
  void placeBackground() override {
    detailsBackground->SetWidth(kDrawingWidth);
    detailsBackground->SetHeight(kDrawingHeight);
    detailsBackground->SetLeft(kBackgroundLeft);
    detailsBackground->SetTop(kBackgroundTop);
    detailsBackground->SetEnabled(false);  // moves over the bare drawing go to the window
    detailsBackground->SetVisible(true);
    detailsBackground->SetParent(detailsForm);
    detailsBackground->SetTag(kDetailsTag);
    detailsBackground->OnMouseMove = detailsHoverHandler();
  }

  // 3.2. Tried once per click, loaded or not.
  void loadBackground(const char* systemNumber) override {
    showPngInImage(detailsBackground, picturePath(kBackgroundPath, systemNumber).c_str());
  }

  // 3.3. and 3.4. Item n: pool image n placed over the background, its texts and paths in entry n
  // of the item tables, its normal picture loaded. An image whose picture cannot be loaded keeps
  // what it held.
  void drawItem(const DrawingItem& item) override {
    const int n = item.number;
    TImage* image = detailsImages[n];
    image->SetParent(detailsForm);
    image->SetVisible(true);
    image->SetEnabled(true);
    image->SetLeft(item.x + detailsBackground->Left());
    image->SetTop(item.y + detailsBackground->Top());
    image->SetWidth(item.width);
    image->SetHeight(item.height);
    image->SetTransparent(true);
    image->OnMouseMove = detailsHoverHandler();
    image->SetTag(n);
    image->SetCursor(crHandPoint);

    const SqlTable& row = *item.row;
    itemNumbers[n] = AnsiString(row.valueAt(item.isPart ? kPartNumber : kElementNumber));
    itemNames[n] = item.isPart ? AnsiString(row.valueAt(kPartName)) : AnsiString();
    itemQuantities[n] = item.isPart ? AnsiString("1") : AnsiString(row.valueAt(kElementQuantity));
    itemHotPicture[n] = picturePath(kHotPath, item.picture);
    itemNormalPicture[n] = picturePath(kNormalPath, item.picture);
    itemHighlighted[n] = "0";
    if (!itemNormalPicture[n].IsEmpty()) showPngInImage(image, itemNormalPicture[n].c_str());
  }
};

}  // namespace

TMouseMoveEvent detailsHoverHandler() { return TMouseMoveEvent(Form1, &TForm1::myShapesMouseMove); }

int drawDetailsItems(int row) {
  DetailsBuild build;
  return walkDrawing(detailsPartsQuery(rowSystemIds[row], rowIterations[row]), build);
}
