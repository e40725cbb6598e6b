// The framework's exception type.
//
// Exception carries one message in the build's code page. The framework raises it for its own
// failures (a bitmap file that cannot be opened, for instance) and the application's exception
// box shows its Message.
#pragma once

#include <exception>

#include "platform/AnsiString.h"

class Exception : public std::exception {
 public:
  explicit Exception(const AnsiString& message) : Message(message) {}
  const char* what() const noexcept override { return Message.c_str(); }

  AnsiString Message;
};
