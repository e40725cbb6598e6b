#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QString>
#include <QUrl>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <thread>
#include <utility>

#include "platform/CodePage.h"

namespace platform {
namespace {

// ShellExecute's own error results.
constexpr int kFileNotFound = 2;    // ERROR_FILE_NOT_FOUND
constexpr int kNoAssociation = 31;  // SE_ERR_NOASSOC
constexpr int kSucceeded = 42;      // any value above 32

int realShellExecute(const ShellExecuteRequest& request) {
  if (request.verb && !request.verb->IsEmpty() && request.verb->str() != "open") return kNoAssociation;
  if (!request.file || request.file->Trim().IsEmpty()) return kFileNotFound;
  const QString text = QString::fromStdString(ansiToUtf8(request.file->str()));
  const QUrl url = QUrl::fromUserInput(text, QDir::currentPath());
  if (!url.isValid()) return kFileNotFound;
  return QDesktopServices::openUrl(url) ? kSucceeded : kNoAssociation;
}

void realSleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Date realToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return Date{1970, 1, 1};
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

ShellExecuteHandler& shellHandler() {
  static ShellExecuteHandler handler;
  return handler;
}

SleepHandler& sleepHandler() {
  static SleepHandler handler;
  return handler;
}

TodayHandler& todayHandler() {
  static TodayHandler handler;
  return handler;
}

std::optional<AnsiString> optionalText(const char* text) {
  if (text == nullptr) return std::nullopt;
  return AnsiString(text);
}

}  // namespace

ShellExecuteHandler setShellExecuteHandler(ShellExecuteHandler handler) {
  return std::exchange(shellHandler(), std::move(handler));
}

SleepHandler setSleepHandler(SleepHandler handler) {
  return std::exchange(sleepHandler(), std::move(handler));
}

TodayHandler setTodayHandler(TodayHandler handler) {
  return std::exchange(todayHandler(), std::move(handler));
}

Date today() {
  const TodayHandler handler = todayHandler();
  return handler ? handler() : realToday();
}

}  // namespace platform

HINSTANCE ShellExecuteA(HWND window, const char* verb, const char* file, const char* parameters,
                        const char* directory, int show) {
  platform::ShellExecuteRequest request;
  request.window = window;
  request.verb = platform::optionalText(verb);
  request.file = platform::optionalText(file);
  request.parameters = platform::optionalText(parameters);
  request.directory = platform::optionalText(directory);
  request.show = show;
  // Copies, so that a handler may replace itself while it runs.
  const platform::ShellExecuteHandler handler = platform::shellHandler();
  const int result = handler ? handler(request) : platform::realShellExecute(request);
  return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(result));
}

void Sleep(unsigned milliseconds) {
  const platform::SleepHandler handler = platform::sleepHandler();
  if (handler) {
    handler(milliseconds);
  } else {
    platform::realSleep(milliseconds);
  }
}
