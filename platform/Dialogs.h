// The modal boxes: ShowMessage, the application's MessageBox and its exception box.
//
// Every box goes through one replaceable handler. The programs use the real one, a modal Qt box
// that keeps the event loop running while it is open (timers and socket events are still
// handled). Tests install a handler that records each request and answers it at once.
#pragma once

#include <functional>

#include "platform/AnsiString.h"

// Flags and answers of the Windows message box.
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONERROR = MB_ICONSTOP;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

namespace platform {

enum class BoxKind {
  Message,     // ShowMessage: OK only, no icon
  MessageBox,  // Application->MessageBox: buttons and icon from the flags
  Exception,   // Application->ShowException: stop icon, OK
};

struct BoxRequest {
  BoxKind kind = BoxKind::Message;
  AnsiString text;     // in the build's code page
  AnsiString caption;  // in the build's code page
  unsigned flags = MB_OK;
};

// Returns the answer: IDOK, IDYES, IDNO or IDCANCEL.
using BoxHandler = std::function<int(const BoxRequest&)>;

// Installs a handler and returns the previous one; an empty handler restores the real boxes.
BoxHandler setBoxHandler(BoxHandler handler);

// Shows one box through the current handler.
int showBox(const BoxRequest& request);

// The caption of ShowMessage and of the exception box. Kept here so that the boxes need no
// application object; TApplication::SetTitle writes it.
void setApplicationTitle(const AnsiString& title);
const AnsiString& applicationTitle();

// The exception box: stop icon, OK, the application title; a non-empty message whose last
// character lies above "." in the code page gets a "." appended, as the framework does.
void showExceptionBox(const AnsiString& message);

}  // namespace platform

// The framework's plain message box, captioned with the application title.
void ShowMessage(const AnsiString& text);
