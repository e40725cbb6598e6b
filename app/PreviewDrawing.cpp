// The preview of the selected system's drawing below the result list.
#include "app/Unit1.h"

void TForm1::ListView1SelectItem(TObject*, TListItem*, bool) {}
