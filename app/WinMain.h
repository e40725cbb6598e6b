// The program's start-up routine.
#pragma once

#include "platform/Shell.h"

// Shows the splash window, creates the main window, keeps the splash for 1,500 ms more and runs
// the message loop. An exception that escapes start-up is shown in the exception box (an empty
// one unless it is the framework's own). The arguments are not read; returns 0 on every path.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, char* commandLine, int showCommand);

// Makes the build's Windows code page (1252 for the German program, 1250 for the Polish one) the
// one that every text of the program is converted with. The program's main calls it before any
// text meets the toolkit or the text set is first read.
void useProgramCodePage();
