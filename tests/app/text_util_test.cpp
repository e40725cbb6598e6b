#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/TextUtil.h"
#include "common/WidgetTesting.h"

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

// getField's two messages, as the same Windows-1250 bytes in both programs.
const char* const kNotPositive =
    "Funkcja oczekuje warto\x9C"
    "ci wi\xEA"
    "kszej od zera!";
std::string onlyFields(const char* count) {
  return std::string(
             "Podany ci\xB9"
             "g znak\xF3"
             "w zawiera tylko ") +
         count + " rekord\xF3w!";
}

struct FieldCase {
  const char* label;
  std::string text;
  const char* separator;
  int n;
  const char* field;
  std::string message;  // the one ShowMessage text, or empty for none
};

const FieldCase kFieldCases[] = {
    {"field 1 is what stands before the first separator", "ab;cd;ef", ";", 1, "ab", ""},
    {"a one-character separator takes the next character with it", "ab;cd;ef", ";", 2, "d", ""},
    {"a two-character separator goes exactly", "ab;;cd;;ef", ";;", 2, "cd", ""},
    {"a longer separator leaves its rest at the front", "ab;;;cd;;;ef", ";;;", 2, ";cd", ""},
    {"each further pass moves on by one field", "a;;b;;c;;d", ";;", 3, "c", ""},
    {"the last field runs to the end of the text", "ab;;cd", ";;", 2, "cd", ""},
    {"a separator at the very end leaves an empty field", "ab;", ";", 2, "", ""},
    {"without a separator field 1 is the whole text", " abc\t", ";", 1, "abc", ""},
    {"blanks and control bytes at the end of the field go", "a;;cd \x01\r\n;;e", ";;", 2, "cd", ""},
    // The end of the field is looked for in the trimmed text but cut in the text itself.
    {"leading blanks move the cut to the left", "  ab;cd", ";", 1, "", ""},
    {"the separator is matched byte for byte", "ab;CD", ";c", 2, "", onlyFields("1")},
    {"an empty separator is never found", "a b", "", 2, "", onlyFields("1")},
    {"an empty separator leaves field 1 whole", "a b", "", 1, "a b", ""},
    {"field 0 is refused", "ab;cd", ";", 0, "", kNotPositive},
    {"a negative field is refused", "ab;cd", ";", INT_MIN, "", kNotPositive},
    {"field 3 of two fields counts the two passes", "a;b", ";", 3, "", onlyFields("2")},
    {"field 2 of one field", "abc", ";", 2, "", onlyFields("1")},
    {"the passes stop when the text runs out", "a;b;c", ";", INT_MAX, "", onlyFields("3")},
    {"bytes above 0x7F are kept", "x\xF3;;\xB9\xE6;;", ";;", 2, "\xB9\xE6", ""},
};

TEST(GetFieldTest, CutsTheFieldAndReportsWhatItCannotCut) {
  for (const FieldCase& c : kFieldCases) {
    testing_support::RecordedBoxes boxes;
    const AnsiString field = getField(AnsiString(c.text), c.separator, c.n);
    EXPECT_EQ(field.str(), c.field) << c.label;
    std::vector<std::string> messages;
    for (const platform::BoxRequest& box : boxes.requests()) {
      EXPECT_EQ(box.kind, platform::BoxKind::Message) << c.label;
      messages.push_back(box.text.str());
    }
    EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message})
        << c.label;
  }
}

// The update check reads the five characters after the marker from field 2.
TEST(GetFieldTest, FieldTwoAfterTheMarkerStartsWithItsLastNineCharacters) {
  testing_support::RecordedBoxes boxes;
  const AnsiString field = getField("HTTP/1.0 200 OK\r\n\r\nrorividudov30000 rorividudov1", "rorividudov", 2);
  EXPECT_EQ(field.str(), "rividudov30000");
  EXPECT_EQ(field.SubString(10, 5).str(), "30000");
  EXPECT_TRUE(boxes.requests().empty());
}

}  // namespace
