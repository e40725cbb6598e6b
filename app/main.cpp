// The program: the framework first, then the main unit's objects, start-up, and the teardown.
#include <QApplication>

#include "app/Unit1.h"
#include "app/WinMain.h"

int main(int, char* argv[]) {
  // The program reads no command line; the toolkit gets the program name alone.
  int toolkitArgc = 1;
  QApplication toolkit(toolkitArgc, argv);
  useProgramCodePage();
  TApplication application;

  initGlobals();
  const int result = WinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
  freeGlobals();
  return result;
}
