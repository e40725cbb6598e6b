// The program's start-up routine and the splash window it shows.
#pragma once

#include "platform/Forms.h"
#include "platform/ImageCtrls.h"
#include "platform/Shell.h"

// The splash window: borderless, one picture, no code of its own.
class TForm3 : public TForm {
 public:
  explicit TForm3(TComponent* Owner);

  TImage* Image1 = nullptr;
};

// Shows the splash window, creates the main window, keeps the splash for 1,500 ms more and runs
// the message loop. An exception that escapes start-up is shown in the exception box (an empty
// one unless it is the framework's own). The arguments are not read; returns 0 on every path.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, char* commandLine, int showCommand);
