// The stages of the details view that follow its data panel, in the order TForm1::Button4Click
// runs them: the drawing of the system's parts and elements, the window's layout, and the parts
// list. They work on the file-scope objects of Unit1.h and hold no state of their own.
#pragma once

#include "platform/Controls.h"

class TLabel;

// The hover highlight handler of the main window, as every item, parts-list label and the
// background carry it.
TMouseMoveEvent detailsHoverHandler();

// A new label owned by detailsForm in `slot`; the slot's earlier label, if any, is deleted first,
// so that at most one label of a slot lives at a time.
TLabel* replaceLabel(TLabel*& slot);

// Places the background and draws the parts and elements of result row `row` (at least 0) on
// detailsForm, filling the item tables; database errors are shown and end only the walk they
// hit. Returns the number of items drawn, 0 to kMaxItems.
int drawDetailsItems(int row);

// Widens the window past ten items and fits the parts table's rules and corner square to
// `items`. The window should be shown first, as the user then sees it settle.
void fitDetailsLayout(int items);

// One row of three labels for each item 1 to `items` that has a number; a row's earlier labels
// are deleted right before their successors are made.
void buildPartsList(int items);
