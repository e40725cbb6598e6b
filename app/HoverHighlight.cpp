// The hover highlight of the details window.
#include "app/Unit1.h"

void TForm1::myShapesMouseMove(TObject*, TShiftState, int, int) {}
