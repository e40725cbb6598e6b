// The preview of the selected system's drawing below the result list.
//
// Every selection change builds the preview anew from the database and the picture files: the
// system's drawing as the background, then each visible part and each element of every part, in
// the order the rows come, as one transparent picture control per item laid over it. The walk over
// the rows is the details drawing's own (DrawingItems.h), so the two always draw the same items.
#include "app/DrawingItems.h"
#include "app/Queries.h"
#include "app/ShowPng.h"
#include "app/Unit1.h"

namespace {

// Where the drawing lies on the main window.
constexpr int kDrawingLeft = 45;
constexpr int kDrawingTop = 310;

// The one preview being built: the steps of the walk on the main window.
class PreviewBuild : public DrawingSteps {
 public:
  explicit PreviewBuild(TForm1* window) : window_(window) {}
  PreviewBuild(const PreviewBuild&) = delete;
  PreviewBuild& operator=(const PreviewBuild&) = delete;

  // The counter is stored however the build ends, so that the next preview hides what this one
  // drew even when an exception cut it short.
  ~PreviewBuild() { previewItemCount = items_; }

  int items() const { return items_; }

  // 4.1. The background where the drawing goes, above Shape1's frame.
  void placeBackground() override {
    previewBackground->SetBounds(kDrawingLeft, kDrawingTop, kDrawingWidth, kDrawingHeight);
    previewBackground->SetEnabled(false);
    previewBackground->SetVisible(true);
    previewBackground->SetParent(window_);
  }

  // 4.2. Tried once per preview: a missing drawing leaves the one shown before.
  void loadBackground(const char* systemNumber) override {
    showPngInImage(previewBackground, picturePath("data/data_p/%s.dat", systemNumber).c_str());
    previewBackground->SetVisible(true);
  }

  // 5. Item n: a new picture control in slot n, the old one deleted first.
  void drawItem(const DrawingItem& item) override {
    const int slot = item.number;
    delete previewImages[slot];
    previewImages[slot] = nullptr;
    auto* image = new TImage(window_);
    previewImages[slot] = image;
    items_ = slot;

    image->SetParent(window_);
    image->SetVisible(true);
    image->SetEnabled(true);
    image->SetBounds(previewBackground->Left() + item.x, previewBackground->Top() + item.y, item.width,
                     item.height);
    image->SetTransparent(true);
    // A picture that cannot be loaded leaves an empty item, which still counts.
    showPngInImage(image, picturePath("data/data_b/%s.dat", item.picture).c_str());
  }

 private:
  TForm1* window_;
  int items_ = 0;
};

}  // namespace

void TForm1::ListView1SelectItem(TObject*, TListItem*, bool) {
  // 1. The last preview's items go out of sight; they stay until a later preview needs the slot.
  for (int n = 1; n <= previewItemCount && n <= kMaxItems; ++n) {
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

  // 3. to 7. The system's parts and their elements, drawn over the background; database errors
  // are shown and end the walk they hit.
  PreviewBuild build(this);
  walkDrawing(previewPartsQuery(rowSystemIds[row], rowIterations[row]), build);

  // 8. A system with nothing to draw shows no drawing either.
  if (build.items() == 0) previewBackground->SetVisible(false);
}
