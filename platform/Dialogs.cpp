#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <utility>

namespace platform {
namespace {

AnsiString& titleStorage() {
  static AnsiString title;
  return title;
}

QString toQt(const AnsiString& text) { return QString::fromStdString(text.ToUtf8()); }

QMessageBox::Icon iconFor(const BoxRequest& request) {
  if (request.kind == BoxKind::Exception) return QMessageBox::Critical;
  if (request.kind == BoxKind::Message) return QMessageBox::NoIcon;
  switch (request.flags & 0xF0) {
    case MB_ICONSTOP:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

int realBox(const BoxRequest& request) {
  QMessageBox box(iconFor(request), toQt(request.caption), toQt(request.text));
  // A Windows box shows its text as it is; Qt would take a text that looks like markup for HTML.
  box.setTextFormat(Qt::PlainText);
  const unsigned buttons = request.kind == BoxKind::MessageBox ? (request.flags & 0x0F) : MB_OK;
  if (buttons == MB_YESNO) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  } else if (buttons == MB_OKCANCEL) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  // exec() runs a nested event loop, so timers and sockets keep working while the box is open.
  switch (box.exec()) {
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    case QMessageBox::Cancel:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

BoxHandler& handlerStorage() {
  static BoxHandler handler;
  return handler;
}

}  // namespace

BoxHandler setBoxHandler(BoxHandler handler) { return std::exchange(handlerStorage(), std::move(handler)); }

int showBox(const BoxRequest& request) {
  // A copy, so that a handler may replace itself while it runs.
  const BoxHandler handler = handlerStorage();
  return handler ? handler(request) : realBox(request);
}

void setApplicationTitle(const AnsiString& title) { titleStorage() = title; }

const AnsiString& applicationTitle() { return titleStorage(); }

void showExceptionBox(const AnsiString& message) {
  BoxRequest request;
  request.kind = BoxKind::Exception;
  request.text = message;
  if (!message.IsEmpty() && static_cast<unsigned char>(message[message.Length()]) > '.') request.text += ".";
  request.caption = applicationTitle();
  request.flags = MB_OK | MB_ICONSTOP;
  showBox(request);
}

}  // namespace platform

void ShowMessage(const AnsiString& text) {
  platform::BoxRequest request;
  request.kind = platform::BoxKind::Message;
  request.text = text;
  request.caption = platform::applicationTitle();
  platform::showBox(request);
}
