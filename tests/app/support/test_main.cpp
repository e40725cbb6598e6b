// Entry point of the application's test programs: the build's code page first, as the programs
// set it before any text is converted, then one QApplication for the whole run, then every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/WinMain.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  useProgramCodePage();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
