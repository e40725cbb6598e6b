// The once-per-run update check over HTTP and the web-address link.
//
// The check is a chain of events on the GUI thread: the timer's one tick asks the user, the socket
// connects, every OnWrite sends the request, every OnRead judges the bytes of that event alone;
// no bytes are kept for the next one. A modal box keeps the event loop running, so a read event
// may come while the box of an earlier one is still open. The one thing that carries over is the
// count of read events still inside their boxes: the fifth of them ends the connection, so no
// sixth can come (see kMostReadsWaiting).
#include <utility>

#include "app/TextUtil.h"
#include "app/Unit1.h"
#include "forms/Texts.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace {

// HTTP/1.0 without a carriage return and without header lines (no Host): the 23 bytes that the
// maker's server has always been sent.
const char* const kVersionRequest = "GET /cat.ver HTTP/1.0\n\n";

// The version is the five characters right after the first marker in the bytes of one read event;
// the status line and the headers are not looked at.
const char* const kVersionMarker = "rorividudov";

// The Windows Sockets numbers of a server that cannot be reached.
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAHOST_NOT_FOUND = 11001;

// Read events that are still inside their boxes, one nested in the box of the other. A real
// reply comes in one to three pieces; a server that trickles its reply a byte at a time would
// otherwise open one more modal box per byte, each on top of the stack of the one before, until
// the stack overflows. Once this many wait, the next read event ends the connection.
constexpr int kMostReadsWaiting = 4;
int readsWaiting = 0;

class WaitingRead {
 public:
  WaitingRead() { ++readsWaiting; }
  ~WaitingRead() { --readsWaiting; }
  WaitingRead(const WaitingRead&) = delete;
  WaitingRead& operator=(const WaitingRead&) = delete;

  bool tooMany() const { return readsWaiting > kMostReadsWaiting; }
};

// The server's catalogue version in the bytes of one read event, 0 when there is none. The reply
// is handed on, so that whatever box getField shows opens without it held in memory.
int versionIn(AnsiString reply) {
  const AnsiString field = getField(std::move(reply), kVersionMarker, 2);
  return readNumber(field.SubString(10, 5).c_str());
}

}  // namespace

void TForm1::Timer1Timer(TObject*) {
  // Off before the question, so that it comes once per run whatever the answer.
  Timer1->SetEnabled(false);
  const TextSet& t = texts();
  if (Application->MessageBox(t.updateAskText.c_str(), t.updateAskCaption.c_str(),
                              MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  ClientSocket1->OnError = TSocketErrorEvent(this, &TForm1::ClientSocketError);
  ClientSocket1->Open();
}

void TForm1::ClientSocket1Write(TObject*, TCustomWinSocket* Socket) { Socket->SendText(kVersionRequest); }

void TForm1::ClientSocket1Read(TObject*, TCustomWinSocket* Socket) {
  const WaitingRead waiting;
  AnsiString reply = Socket->ReceiveText();
  // This event still gets its boxes; no further one can come.
  if (waiting.tooMany()) ClientSocket1->Close();

  const TextSet& t = texts();
  if (versionIn(std::move(reply)) > catalogVersion) {
    if (Application->MessageBox(t.updateNewerText.c_str(), t.updateNewerCaption.c_str(),
                                MB_YESNO | MB_ICONQUESTION) == IDYES) {
      ShellExecuteA(Handle(), nullptr, updatePageAddress().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
  } else {
    Application->MessageBox(t.updateNoneText.c_str(), t.updateNoneCaption.c_str(),
                            MB_OK | MB_ICONINFORMATION);
  }
}

void TForm1::ClientSocketError(TObject*, TCustomWinSocket*, TErrorEvent, int& ErrorCode) {
  switch (ErrorCode) {
    case WSAECONNABORTED:
    case WSAETIMEDOUT:
    case WSAECONNREFUSED:
    case WSAHOST_NOT_FOUND: {
      const TextSet& t = texts();
      Application->MessageBox(t.noConnectionText.c_str(), t.noConnectionCaption.c_str(),
                              MB_OK | MB_ICONEXCLAMATION);
      // Cleared, so that the socket reports nothing more.
      ErrorCode = 0;
      break;
    }
    default:
      // Left to the socket component, which shows it in its own box.
      break;
  }
}

void TForm1::Label9Click(TObject*) {
  ShellExecuteA(Handle(), nullptr, kWebSiteAddress, nullptr, nullptr, SW_SHOWNORMAL);
}
