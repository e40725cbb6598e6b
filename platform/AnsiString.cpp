#include "platform/AnsiString.h"

#include <cstdarg>
#include <cstdio>

#include "platform/CodePage.h"

AnsiString AnsiString::FromUtf8(std::string_view utf8) { return AnsiString(platform::utf8ToAnsi(utf8)); }

std::string AnsiString::ToUtf8() const { return platform::ansiToUtf8(text_); }

AnsiString AnsiString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (needed > 0) {
    out.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(needed));
  }
  va_end(args);
  return AnsiString(std::move(out));
}

int AnsiString::Pos(const AnsiString& sub) const {
  if (sub.text_.empty()) return 0;
  const std::size_t at = text_.find(sub.text_);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

AnsiString& AnsiString::Delete(int index, int count) {
  if (index < 1 || count <= 0 || index > Length()) return *this;
  text_.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
  return *this;
}

AnsiString AnsiString::SubString(int index, int count) const {
  if (index < 1) {
    count += index - 1;
    index = 1;
  }
  if (count <= 0 || index > Length()) return AnsiString();
  return AnsiString(text_.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}

AnsiString AnsiString::Trim() const {
  std::size_t begin = 0;
  std::size_t end = text_.size();
  while (begin < end && static_cast<unsigned char>(text_[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text_[end - 1]) <= 0x20) --end;
  return AnsiString(text_.substr(begin, end - begin));
}
