// The once-per-run update check over HTTP and the web-address link.
#include "app/Unit1.h"

void TForm1::Timer1Timer(TObject*) {}
void TForm1::ClientSocket1Write(TObject*, TCustomWinSocket*) {}
void TForm1::ClientSocket1Read(TObject*, TCustomWinSocket*) {}
void TForm1::ClientSocketError(TObject*, TCustomWinSocket*, TErrorEvent, int&) {}
void TForm1::Label9Click(TObject*) {}
