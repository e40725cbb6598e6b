#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/TextUtil.h"

namespace {

struct ReplaceCase {
  const char* label;
  const char* pattern;
  const char* replacement;
  const char* subject;
  const char* expected;
};

constexpr ReplaceCase kReplaceCases[] = {
    {"every comma of a number", ",", ".", "a,b,,c", "a.b..c"},
    {"matches never overlap", "aa", "b", "aaa", "ba"},
    {"the replacement is not scanned again", "a", "aa", "aba", "aabaa"},
    {"an empty pattern changes nothing", "", ".", "a,b", "a,b"},
    {"a subject without the pattern stays", "-", ".", "0,123", "0,123"},
    {"a match cut off by the end does not count", "abc", "x", "zab", "zab"},
    {"a pattern at both ends", "-", ".", "-1-", ".1."},
    {"an empty replacement removes", ",", "", ",a,", "a"},
    {"an empty subject", ",", ".", "", ""},
};

TEST(ReplaceAllTest, ReplacesEveryMatchLeftToRightWithoutOverlap) {
  for (const ReplaceCase& c : kReplaceCases) {
    std::string subject = c.subject;
    std::string& result = replaceAll(c.pattern, c.replacement, subject);
    EXPECT_EQ(subject, c.expected) << c.label;
    EXPECT_EQ(&result, &subject) << c.label << ": returns the subject itself";
  }
}

TEST(ReplaceAllTest, SearchNumberNormalisationTakesCommasThenHyphens) {
  std::string number = "0-123,4";
  replaceAll("-", ".", replaceAll(",", ".", number));
  EXPECT_EQ(number, "0.123.4");
}

TEST(ReplaceAllTest, ReplacementThatAliasesTheSubjectUsesItsOldText) {
  std::string subject = "a-b";
  replaceAll("-", subject, subject);
  EXPECT_EQ(subject, "aa-bb");
}

struct NumberCase {
  const char* label;
  const char* text;
  int expected;
};

constexpr NumberCase kNumberCases[] = {
    {"a digit", "1", 1},
    {"leading blank", " 1", 1},
    {"leading tab and line feed", "\t\n1", 1},
    {"plus sign", "+1", 1},
    {"leading zero", "01", 1},
    {"stops at the full stop", "1.5", 1},
    {"stops at a letter", "12ab", 12},
    {"four-digit year", "2016", 2016},
    {"zero", "0", 0},
    {"two", "2", 2},
    {"minus sign", "-1", -1},
    {"a word", "yes", 0},
    {"empty text", "", 0},
    {"blanks only", "   ", 0},
    {"sign without digits", "-", 0},
    {"two signs", "+-1", 0},
    {"blank between sign and digits", "- 1", 0},
    {"blank inside the digits", "30 000", 30},
    {"largest int", "2147483647", INT_MAX},
    {"smallest int", "-2147483648", INT_MIN},
    {"just beyond the largest", "2147483648", INT_MAX},
    {"just beyond the smallest", "-2147483649", INT_MIN},
    {"far beyond the range", "99999999999999999999999999", INT_MAX},
    {"far below the range", "-99999999999999999999999999", INT_MIN},
};

TEST(ReadNumberTest, ReadsLeadingDecimalDigitsAsAtolDoes) {
  for (const NumberCase& c : kNumberCases) {
    EXPECT_EQ(readNumber(c.text), c.expected) << c.label << ": \"" << c.text << "\"";
  }
}

TEST(ReadNumberTest, NullTextReadsAsZero) { EXPECT_EQ(readNumber(nullptr), 0); }

}  // namespace
