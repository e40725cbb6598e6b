// What the preview and the details drawing do alike: the one walk over a system's part rows and
// their elements that decides which parts are drawn, runs the element queries and numbers the
// items, and what a part or element row says about its item.
//
// Items of a drawing are numbered from 1 in drawing order: a part whose VISIBLE reads as 1, then
// each element of that part row, then the next part row. A drawing holds at most kMaxItems items
// (Unit1.h); once they are drawn the walk stops, and runs no further query.
#pragma once

#include "db/SqlDb.h"
#include "platform/AnsiString.h"

// The size of a system's drawing, the background picture that its items are placed on.
constexpr int kDrawingWidth = 700;
constexpr int kDrawingHeight = 204;

// One item of a drawing, as the walk hands it to the drawing.
struct DrawingItem {
  int number = 0;                 // 1 to kMaxItems
  bool isPart = false;            // a drawn part; otherwise an element of the part row before it
  const SqlTable* row = nullptr;  // its part or element row, selected, for what a drawing adds
  int x = 0;                      // its place and size in the 700 x 204 drawing, as stored
  int y = 0;
  int width = 0;
  int height = 0;
  const char* picture = nullptr;  // its picture name; null for SQL NULL; valid with `row`
};

// The steps of one drawing, called by walkDrawing in this order for each part row: placeBackground;
// loadBackground at the first part row; drawItem for the part when it is drawn; drawItem for each
// of its elements.
class DrawingSteps {
 public:
  // Where the drawing's background goes, set again at every part row.
  virtual void placeBackground() = 0;
  // The system's drawing, tried once, at the first part row; `systemNumber` null for SQL NULL.
  virtual void loadBackground(const char* systemNumber) = 0;
  virtual void drawItem(const DrawingItem& item) = 0;

 protected:
  ~DrawingSteps() = default;
};

// Runs `partsQuery` (the preview's or the details' parts query, whose columns agree up to the
// system number) on catalogDb and walks its rows. A part row whose ID_KEY is SQL NULL has no
// elements: no query is run for it. A database error is shown with ShowMessage and ends the walk
// over the part rows (parts query) or over that part's elements (element query); the items drawn
// so far stay. Returns the number of items drawn, 0 to kMaxItems.
int walkDrawing(const AnsiString& partsQuery, DrawingSteps& steps);

// The picture file that `format` ("data/data_b/%s.dat" and the like) names for `name`, with the
// name whole; the empty text, which names no file, for an SQL NULL name, so that a missing name
// never loads a file that happens to carry some stand-in text.
AnsiString picturePath(const char* format, const char* name);

// A stored X, Y, W or H read as a number, held within a million pixels either way: damaged data
// beyond that looks the same on any screen, and no control's rectangle then leaves the int range.
int storedPlacement(const char* text);
