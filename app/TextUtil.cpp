#include "app/TextUtil.h"

#include <climits>
#include <utility>

#include "forms/Texts.h"
#include "platform/Dialogs.h"

std::string& replaceAll(const std::string& pattern, const std::string& replacement, std::string& subject) {
  if (pattern.empty()) return subject;
  std::string result;
  std::size_t p = 0;
  while (p < subject.size()) {
    // compare() takes only what is left of the subject, so a match cannot run past its end.
    if (subject.compare(p, pattern.size(), pattern) == 0) {
      result += replacement;
      p += pattern.size();
    } else {
      result += subject[p];
      ++p;
    }
  }
  subject = std::move(result);
  return subject;
}

AnsiString getField(AnsiString text, const AnsiString& separator, int n) {
  if (n <= 0) {
    ShowMessage(texts().fieldNumberNotPositive);
    return AnsiString();
  }
  AnsiString field;
  const int passes = n > 1 ? n - 1 : 1;
  // Every pass that finds a separator removes at least two characters, so the passes end with the
  // text however large n is.
  for (int pass = 1; pass <= passes; ++pass) {
    const int p = text.Pos(separator);
    if (p == 0 && n > 1) {
      // The text may be a whole server reply; it need not stay while the box waits for the user.
      text = AnsiString();
      ShowMessage(texts().tooFewFieldsPrefix + AnsiString(pass) + texts().tooFewFieldsSuffix);
      return AnsiString();
    }
    // Past the end Delete takes the rest; clamped first so that the largest text cannot overflow.
    if (n > 1) text.Delete(1, p < text.Length() ? p + 1 : p);
    const int q = text.Trim().Pos(separator);
    field = q > 0 ? text.SubString(1, q - 1) : text;
  }
  return field.Trim();
}

int readNumber(const char* text) {
  if (text == nullptr) return 0;
  // The C locale's white space, which is what atol skips in the programs.
  const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (isSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') {
    negative = *text == '-';
    ++text;
  }
  // Accumulated as a negative number, whose range reaches INT_MIN, and clamped digit by digit so
  // that no long run of digits can overflow.
  long long value = 0;
  const long long limit = negative ? static_cast<long long>(INT_MIN) : -static_cast<long long>(INT_MAX);
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 - (*text - '0');
    if (value < limit) value = limit;
  }
  return static_cast<int>(negative ? value : -value);
}
