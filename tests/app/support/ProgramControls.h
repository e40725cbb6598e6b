// The program never frees its run-time controls (the picture pools, the details window and what it
// owns); a test or benchmark process that starts the program more than once releases them between
// runs, while the main window that owns some of them still exists, and resets the pointers and
// counters of the file-scope tables to their first state.
#pragma once

void releaseProgramControls();
