// The details window: the system data panel, the drawing of parts and elements, the window's
// layout and the parts list.
#include "app/Unit1.h"

void TForm1::Button4Click(TObject*) {}
