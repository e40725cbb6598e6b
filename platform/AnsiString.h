// AnsiString: the framework's 8-bit text type.
//
// Holds bytes in the build's Windows code page (see CodePage.h) and offers the operations that
// the catalogue code uses, with the framework's conventions: positions count from 1, Pos returns
// 0 when nothing is found, and numbers convert in decimal. A value type; copies are independent.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class AnsiString {
 public:
  AnsiString() = default;
  // NOLINTNEXTLINE: implicit as in the framework
  AnsiString(const char* text) : text_(text != nullptr ? text : "") {}
  AnsiString(const char* text, std::size_t length) : text_(text, length) {}
  AnsiString(std::string text) : text_(std::move(text)) {}  // NOLINT
  explicit AnsiString(int value) : text_(std::to_string(value)) {}
  explicit AnsiString(long value) : text_(std::to_string(value)) {}

  // Text written in UTF-8 in the sources, converted to the current code page.
  static AnsiString FromUtf8(std::string_view utf8);
  std::string ToUtf8() const;

  // Formats like sprintf into a text of the needed length.
  static AnsiString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

  const char* c_str() const { return text_.c_str(); }
  const std::string& str() const { return text_; }
  int Length() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }

  // 1-based position of the first occurrence of sub, 0 when absent (also for an empty sub).
  int Pos(const AnsiString& sub) const;
  // Removes count characters from the 1-based index; parts outside the text are ignored.
  AnsiString& Delete(int index, int count);
  // count characters from the 1-based index, cut at the end of the text.
  AnsiString SubString(int index, int count) const;
  // Without leading and trailing bytes of value 0x20 or below.
  AnsiString Trim() const;

  char& operator[](int index) { return text_[static_cast<std::size_t>(index - 1)]; }  // 1-based
  char operator[](int index) const { return text_[static_cast<std::size_t>(index - 1)]; }

  AnsiString& operator+=(const AnsiString& other) {
    text_ += other.text_;
    return *this;
  }
  friend AnsiString operator+(AnsiString a, const AnsiString& b) { return a += b; }
  friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.text_ == b.text_; }
  friend bool operator!=(const AnsiString& a, const AnsiString& b) { return a.text_ != b.text_; }
  friend bool operator<(const AnsiString& a, const AnsiString& b) { return a.text_ < b.text_; }

 private:
  std::string text_;
};
