// The program's start-up routine.
#pragma once

#include "platform/Shell.h"

// Shows the splash window, creates the main window, keeps the splash for 1,500 ms more and runs
// the message loop. An exception that escapes start-up is shown in the exception box (an empty
// one unless it is the framework's own). The arguments are not read; returns 0 on every path.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, char* commandLine, int showCommand);
