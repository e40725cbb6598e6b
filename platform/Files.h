// Opening the files that the program names, as the platform it was written for opens them.
//
// The program names its files in the build's code page ("data/data_b/%s.dat" filled with a picture
// name from the catalogue), and the Windows file functions take such a name as it is. Here the
// name is converted to the file system's UTF-8 where it meets the file system, so that a picture
// the desktop stores as "Endschalldämpfer.dat" is found under the name the catalogue holds.
//
// Only a regular file opens. A folder, a device or a named pipe is no file of the program's, and
// opening a pipe that has no writer would wait for one; such a name fails at once, as a missing
// file does.
#pragma once

#include <cstdint>
#include <cstdio>

namespace platform {

// Opens the regular file that `ansiPath` (relative to the working folder or absolute, in the code
// page of the running program) names, for reading in binary mode; the caller closes it with
// fclose. Returns null, holding nothing open, when it cannot. When `size` is given it receives
// the file's size in bytes.
std::FILE* openRegularFile(const char* ansiPath, std::uint64_t* size = nullptr);

}  // namespace platform
