// Handlers that the main window's layout binds but that do nothing yet: the selection cascade,
// the result list and number search, the preview, the details view, the hover highlight and the
// update check each move to a file of their own as they are built.
#include "app/Unit1.h"

void TForm1::ComboBox1Change(TObject*) {}
void TForm1::ComboBox2Change(TObject*) {}
void TForm1::ComboBox3Change(TObject*) {}
void TForm1::ComboBox4Change(TObject*) {}
void TForm1::CheckBox1Click(TObject*) {}
void TForm1::CheckBox2Click(TObject*) {}
void TForm1::getYears() {}
void TForm1::getEngines() {}

void TForm1::getSystemList(TObject*) {}
void TForm1::Button1Click(TObject*) {}
void TForm1::Edit1KeyPress(TObject*, char&) {}

void TForm1::ListView1SelectItem(TObject*, TListItem*, bool) {}
void TForm1::Button4Click(TObject*) {}
void TForm1::myShapesMouseMove(TObject*, TShiftState, int, int) {}

void TForm1::Timer1Timer(TObject*) {}
void TForm1::ClientSocket1Write(TObject*, TCustomWinSocket*) {}
void TForm1::ClientSocket1Read(TObject*, TCustomWinSocket*) {}
void TForm1::ClientSocketError(TObject*, TCustomWinSocket*, TErrorEvent, int&) {}
void TForm1::Label9Click(TObject*) {}
