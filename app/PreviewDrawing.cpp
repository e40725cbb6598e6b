// The preview of the selected system's drawing below the result list.
//
// Every selection change builds the preview anew from the database and the picture files: the
// system's drawing as the background, then each visible part and each element of every part, in
// the order the rows come, as one transparent picture control per item laid over it.
#include "app/DrawingItems.h"
#include "app/Queries.h"
#include "app/ShowPng.h"
#include "app/TextUtil.h"
#include "app/Unit1.h"
#include "platform/Dialogs.h"

namespace {

// Where the 700 x 204 drawing lies on the main window.
constexpr int kDrawingLeft = 45;
constexpr int kDrawingTop = 310;
constexpr int kDrawingWidth = 700;
constexpr int kDrawingHeight = 204;

// Items take slots 1 to 29; slot 30 is the background. Items beyond the last slot are not drawn.
constexpr int kLastItemSlot = kPreviewSlots - 2;

// Columns of the parts query and of the elements query.
constexpr int kPartVisible = 0;
constexpr int kPartKey = 1;
constexpr int kPartPicture = 3;
constexpr int kPartX = 5;
constexpr int kSystemNumber = 10;
constexpr int kElementPicture = 2;
constexpr int kElementX = 3;

// Places the background where the drawing goes, above Shape1's frame.
void placeBackground(TForm1* window) {
  previewBackground->SetBounds(kDrawingLeft, kDrawingTop, kDrawingWidth, kDrawingHeight);
  previewBackground->SetEnabled(false);
  previewBackground->SetVisible(true);
  previewBackground->SetParent(window);
}

// The one preview being built: the item counter and whether the background was tried.
class PreviewBuild {
 public:
  explicit PreviewBuild(TForm1* window) : window_(window) {}
  PreviewBuild(const PreviewBuild&) = delete;
  PreviewBuild& operator=(const PreviewBuild&) = delete;

  // The counter is stored however the build ends, so that the next preview hides what this one
  // drew even when an exception cut it short.
  ~PreviewBuild() { previewItemCount = items_; }

  int items() const { return items_; }

  void drawParts(const AnsiString& systemId, const AnsiString& iteration) {
    try {
      SqlTable parts = catalogDb.queryTable(previewPartsQuery(systemId, iteration).c_str());
      for (int row = 0; row < parts.rowCount(); ++row) {
        parts.selectRow(row);
        drawPartRow(parts);
      }
    } catch (const SqlException& exception) {
      ShowMessage(exception.message);
    }
  }

 private:
  void drawPartRow(const SqlTable& parts) {
    placeBackground(window_);
    if (!backgroundTried_) {
      // Tried once per preview: a missing drawing leaves the one shown before.
      showPngInImage(previewBackground,
                     picturePath("data/data_p/%s.dat", parts.valueAt(kSystemNumber)).c_str());
      previewBackground->SetVisible(true);
      backgroundTried_ = true;
    }
    if (readNumber(parts.valueAt(kPartVisible)) == 1) {
      drawItem(parts, kPartX, parts.valueAt(kPartPicture));
    }
    // Every part row's elements, also those of a part that is not drawn itself.
    const AnsiString partKey = parts.valueAt(kPartKey);
    try {
      SqlTable elements = catalogDb.queryTable(elementsQuery(partKey).c_str());
      for (int row = 0; row < elements.rowCount(); ++row) {
        elements.selectRow(row);
        drawItem(elements, kElementX, elements.valueAt(kElementPicture));
      }
    } catch (const SqlException& exception) {
      ShowMessage(exception.message);
    }
  }

  // The next item, at X, Y, W, H read from four columns from `firstPlacement` on.
  void drawItem(const SqlTable& table, int firstPlacement, const char* pictureName) {
    if (items_ >= kLastItemSlot) return;
    const int x = storedPlacement(table.valueAt(firstPlacement));
    const int y = storedPlacement(table.valueAt(firstPlacement + 1));
    const int width = storedPlacement(table.valueAt(firstPlacement + 2));
    const int height = storedPlacement(table.valueAt(firstPlacement + 3));

    const int slot = items_ + 1;
    delete previewImages[slot];
    previewImages[slot] = nullptr;
    auto* item = new TImage(window_);
    previewImages[slot] = item;
    items_ = slot;

    item->SetParent(window_);
    item->SetVisible(true);
    item->SetEnabled(true);
    item->SetBounds(previewBackground->Left() + x, previewBackground->Top() + y, width, height);
    item->SetTransparent(true);
    // A picture that cannot be loaded leaves an empty item, which still counts.
    showPngInImage(item, picturePath("data/data_b/%s.dat", pictureName).c_str());
  }

  TForm1* window_;
  int items_ = 0;
  bool backgroundTried_ = false;
};

}  // namespace

void TForm1::ListView1SelectItem(TObject*, TListItem*, bool) {
  // 1. The last preview's items go out of sight; they stay until a later preview needs the slot.
  for (int n = 1; n <= previewItemCount && n <= kLastItemSlot; ++n) {
    if (previewImages[n] == nullptr) continue;
    previewImages[n]->SetVisible(false);
    previewImages[n]->SetEnabled(false);
  }

  // 2. Without a selected row there is nothing to show. The notification for a row that loses
  // the selection comes here too, before the one for the row that gains it.
  const int row = ListView1->ItemIndex();
  if (row < 0 || row >= kResultRows) {
    previewBackground->SetVisible(false);
    return;
  }

  // 3. to 7. The system's parts and their elements, drawn over the background.
  PreviewBuild build(this);
  build.drawParts(rowSystemIds[row], rowIterations[row]);

  // 8. A system with nothing to draw shows no drawing either.
  if (build.items() == 0) previewBackground->SetVisible(false);
}
