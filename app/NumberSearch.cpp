// The number search: the search field and its button.
#include "app/Unit1.h"

void TForm1::Button1Click(TObject*) {}
void TForm1::Edit1KeyPress(TObject*, char&) {}
