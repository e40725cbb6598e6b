// Conversion between the program's 8-bit text and UTF-8.
//
// Catalogue text is 8-bit text in one Windows code page per build: 1252 for the German program,
// 1250 for the Polish one, exactly as the database and the SQL carry it. Text is converted only
// where it meets the toolkit (captions, list cells, combo items, the edit box, message boxes), where
// a file name meets the file system (platform/Files.h), and where the UTF-8 source texts of a build
// become 8-bit text once at start-up.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Selects the code page of the running program: 1250, or 1252 for any other value. The programs
// set it once before any window exists; 1252 until then.
void setAnsiCodePage(int codePage);
int ansiCodePage();

// A byte that the code page leaves undefined becomes U+FFFD.
std::string ansiToUtf8(std::string_view ansi);

// A character that the code page cannot represent becomes '?'.
std::string utf8ToAnsi(std::string_view utf8);

}  // namespace platform
