// The operating system's services that reach outside the process or stop it: the shell's
// ShellExecuteA, Sleep, and the current date of the computer's clock.
//
// Each goes through one replaceable handler, bound to the real service unless a test installs its
// own: the desktop's default handler opens addresses (the user's browser for a web address), Sleep
// blocks the calling thread without handling any event, and the date is the local calendar date.
// A setter returns the previous handler; an empty handler restores the real service.
#pragma once

#include <functional>
#include <optional>

#include "platform/AnsiString.h"
#include "platform/Handles.h"

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

constexpr int SW_SHOWNORMAL = 1;

// Opens file (an address such as "http://host/path", or a file name) with the desktop's default
// handler. Only the default verb (null) and "open" are known. As on Windows the result, read as a
// number, is above 32 on success and a small error code otherwise: 2 for a missing address, 31
// when nothing could open it. The window, the parameters, the directory and the show state are
// passed on to the handler but not otherwise used.
HINSTANCE ShellExecuteA(HWND window, const char* verb, const char* file, const char* parameters,
                        const char* directory, int show);

// Blocks the calling thread for the given time; no event is handled meanwhile.
void Sleep(unsigned milliseconds);

namespace platform {

// One ShellExecuteA call; a null argument is an absent value.
struct ShellExecuteRequest {
  HWND window = nullptr;
  std::optional<AnsiString> verb;
  std::optional<AnsiString> file;
  std::optional<AnsiString> parameters;
  std::optional<AnsiString> directory;
  int show = 0;
};

// Returns the result of ShellExecuteA as a number (above 32 on success).
using ShellExecuteHandler = std::function<int(const ShellExecuteRequest&)>;
ShellExecuteHandler setShellExecuteHandler(ShellExecuteHandler handler);

using SleepHandler = std::function<void(unsigned milliseconds)>;
SleepHandler setSleepHandler(SleepHandler handler);

// A calendar date of the local time zone.
struct Date {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

using TodayHandler = std::function<Date()>;
TodayHandler setTodayHandler(TodayHandler handler);

// The local date of the computer's clock, through the current handler.
Date today();

}  // namespace platform
