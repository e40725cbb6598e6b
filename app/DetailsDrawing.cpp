// The details window's drawing: the system's background picture and, above it, one transparent
// picture per visible part and per element of a part, each at the place and size the catalogue
// stores for it. Every item drawn records its parts-list texts and its two picture paths.
#include "app/DetailsView.h"
#include "app/DrawingItems.h"
#include "app/Queries.h"
#include "app/ShowPng.h"
#include "app/TextUtil.h"
#include "app/Unit1.h"
#include "platform/Dialogs.h"

namespace {

constexpr const char kBackgroundPath[] = "data/data_p/%s.dat";
constexpr const char kNormalPath[] = "data/data_b/%s.dat";
constexpr const char kHotPath[] = "data/data_r/%s.dat";

constexpr int kBackgroundLeft = 10;
constexpr int kBackgroundTop = 10;
constexpr int kBackgroundWidth = 700;
constexpr int kBackgroundHeight = 204;

// Columns of the parts query and of the element query.
enum PartColumn {
  kPartVisible = 0,
  kPartKey = 1,
  kPartPicture = 3,
  kPartNumber = 4,
  kPartX = 5,
  kPartName = 9,
  kPartSystemNumber = 10
};
enum ElementColumn { kElementNumber = 1, kElementPicture = 2, kElementX = 3, kElementQuantity = 7 };

// What one part row or element row says about its item, read from columns X, Y, W, H at `x`
// and on. The texts stay valid while the row's table lives.
struct ItemRow {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  const char* number = nullptr;
  AnsiString name;
  AnsiString quantity;
  const char* picture = nullptr;
};

void readPlacement(const SqlTable& table, int x, ItemRow& item) {
  item.x = storedPlacement(table.valueAt(x));
  item.y = storedPlacement(table.valueAt(x + 1));
  item.width = storedPlacement(table.valueAt(x + 2));
  item.height = storedPlacement(table.valueAt(x + 3));
}

void placeBackground() {
  detailsBackground->SetWidth(kBackgroundWidth);
  detailsBackground->SetHeight(kBackgroundHeight);
  detailsBackground->SetLeft(kBackgroundLeft);
  detailsBackground->SetTop(kBackgroundTop);
  detailsBackground->SetEnabled(false);  // moves over the bare drawing go to the window
  detailsBackground->SetVisible(true);
  detailsBackground->SetParent(detailsForm);
  detailsBackground->SetTag(kDetailsTag);
  detailsBackground->OnMouseMove = detailsHoverHandler();
}

void loadBackground(const char* systemNumber) {
  showPngInImage(detailsBackground, picturePath(kBackgroundPath, systemNumber).c_str());
}

// Item n: pool image n placed over the background, its texts and paths in entry n of the item
// tables, its normal picture loaded. An image whose picture cannot be loaded keeps what it held.
void drawItem(int n, const ItemRow& row) {
  TImage* image = detailsImages[n];
  image->SetParent(detailsForm);
  image->SetVisible(true);
  image->SetEnabled(true);
  image->SetLeft(row.x + detailsBackground->Left());
  image->SetTop(row.y + detailsBackground->Top());
  image->SetWidth(row.width);
  image->SetHeight(row.height);
  image->SetTransparent(true);
  image->OnMouseMove = detailsHoverHandler();
  image->SetTag(n);
  image->SetCursor(crHandPoint);

  itemNumbers[n] = AnsiString(row.number);
  itemNames[n] = row.name;
  itemQuantities[n] = row.quantity;
  itemHotPicture[n] = picturePath(kHotPath, row.picture);
  itemNormalPicture[n] = picturePath(kNormalPath, row.picture);
  itemHighlighted[n] = "0";
  if (!itemNormalPicture[n].IsEmpty()) showPngInImage(image, itemNormalPicture[n].c_str());
}

// The elements of one part, as items after `items`; returns the new count. An error ends this
// part's elements only. SQL NULL as the part's key matches no element, as in SQL itself.
int drawElements(const char* partKey, int items) {
  if (partKey == nullptr) return items;
  try {
    SqlTable elements = catalogDb.queryTable(elementsQuery(partKey).c_str());
    for (int j = 0; j < elements.rowCount() && items < kMaxDetailsItems; ++j) {
      elements.selectRow(j);
      ItemRow row;
      readPlacement(elements, kElementX, row);
      row.number = elements.valueAt(kElementNumber);
      row.quantity = AnsiString(elements.valueAt(kElementQuantity));
      row.picture = elements.valueAt(kElementPicture);
      drawItem(++items, row);
    }
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
  return items;
}

}  // namespace

TMouseMoveEvent detailsHoverHandler() { return TMouseMoveEvent(Form1, &TForm1::myShapesMouseMove); }

int drawDetailsItems(int row) {
  int items = 0;
  try {
    SqlTable parts = catalogDb.queryTable(detailsPartsQuery(rowSystemIds[row], rowIterations[row]).c_str());
    bool backgroundTried = false;
    // Items beyond the pool's last entry are left out: the view shows the first 29.
    for (int i = 0; i < parts.rowCount() && items < kMaxDetailsItems; ++i) {
      parts.selectRow(i);
      placeBackground();
      if (!backgroundTried) {
        loadBackground(parts.valueAt(kPartSystemNumber));
        backgroundTried = true;  // one try per click, loaded or not
      }
      if (readNumber(parts.valueAt(kPartVisible)) == 1) {
        ItemRow part;
        readPlacement(parts, kPartX, part);
        part.number = parts.valueAt(kPartNumber);
        part.name = AnsiString(parts.valueAt(kPartName));
        part.quantity = "1";
        part.picture = parts.valueAt(kPartPicture);
        drawItem(++items, part);
      }
      items = drawElements(parts.valueAt(kPartKey), items);
    }
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
  return items;
}
