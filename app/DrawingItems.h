// What the preview and the details drawing read alike from a part or element row of the
// catalogue: the picture file that a stored picture name stands for, and a stored placement.
#pragma once

#include "platform/AnsiString.h"

// The picture file that `format` ("data/data_b/%s.dat" and the like) names for `name`, with the
// name whole; the empty text, which names no file, for an SQL NULL name, so that a missing name
// never loads a file that happens to carry some stand-in text.
AnsiString picturePath(const char* format, const char* name);

// A stored X, Y, W or H read as a number, held within a million pixels either way: damaged data
// beyond that looks the same on any screen, and no control's rectangle then leaves the int range.
int storedPlacement(const char* text);
