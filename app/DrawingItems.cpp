#include "app/DrawingItems.h"

#include <algorithm>

#include "app/Queries.h"
#include "app/TextUtil.h"
#include "app/Unit1.h"
#include "platform/Dialogs.h"

namespace {

constexpr int kFarthestPlacement = 1 << 20;

// Columns of the parts query (both drawings' texts) and of the element query that the walk reads.
constexpr int kPartVisible = 0;
constexpr int kPartKey = 1;
constexpr int kPartPicture = 3;
constexpr int kPartX = 5;
constexpr int kSystemNumber = 10;
constexpr int kElementPicture = 2;
constexpr int kElementX = 3;

DrawingItem itemOf(int number, bool isPart, const SqlTable& row, int x, int picture) {
  DrawingItem item;
  item.number = number;
  item.isPart = isPart;
  item.row = &row;
  item.x = storedPlacement(row.valueAt(x));
  item.y = storedPlacement(row.valueAt(x + 1));
  item.width = storedPlacement(row.valueAt(x + 2));
  item.height = storedPlacement(row.valueAt(x + 3));
  item.picture = row.valueAt(picture);
  return item;
}

// The elements of one part as the items after `items`; returns the new count. An error ends this
// part's elements only. SQL NULL as the part's key matches no element, as in SQL itself.
int walkElements(const char* partKey, int items, DrawingSteps& steps) {
  if (partKey == nullptr || items >= kMaxItems) return items;
  try {
    SqlTable elements = catalogDb.queryTable(elementsQuery(partKey).c_str());
    for (int row = 0; row < elements.rowCount() && items < kMaxItems; ++row) {
      elements.selectRow(row);
      steps.drawItem(itemOf(++items, false, elements, kElementX, kElementPicture));
    }
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
  return items;
}

}  // namespace

int walkDrawing(const AnsiString& partsQuery, DrawingSteps& steps) {
  int items = 0;
  try {
    SqlTable parts = catalogDb.queryTable(partsQuery.c_str());
    for (int row = 0; row < parts.rowCount() && items < kMaxItems; ++row) {
      parts.selectRow(row);
      steps.placeBackground();
      if (row == 0) steps.loadBackground(parts.valueAt(kSystemNumber));
      if (readNumber(parts.valueAt(kPartVisible)) == 1) {
        steps.drawItem(itemOf(++items, true, parts, kPartX, kPartPicture));
      }
      // Every part row's elements, also those of a part that is not drawn itself.
      items = walkElements(parts.valueAt(kPartKey), items, steps);
    }
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
  return items;
}

AnsiString picturePath(const char* format, const char* name) {
  return name != nullptr ? AnsiString::Format(format, name) : AnsiString();
}

int storedPlacement(const char* text) {
  return std::clamp(readNumber(text), -kFarthestPlacement, kFarthestPlacement);
}
