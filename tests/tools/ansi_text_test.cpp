// The generator's conversion of its texts into the catalogue's 8-bit code pages.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tools/AnsiText.h"

namespace {

TEST(AnsiTextTest, LettersBecomeTheirCodePageBytes) {
  const struct {
    const char* label;
    std::string (*convert)(std::string_view);
    const char* utf8;
    const char* expected;
  } kCases[] = {
      {"German umlaut", demo::toWindows1252, "Schalldämpfer", "Schalld\xE4mpfer"},
      {"sharp s", demo::toWindows1252, "Straße",
       "Stra\xDF"
       "e"},
      {"Polish l with stroke", demo::toWindows1250, "Tłumik", "T\xB3umik"},
      {"Polish s acute, in the 0x80 row", demo::toWindows1250, "środkowy", "\x9Crodkowy"},
      {"Polish z dot above", demo::toWindows1250, "Żółw", "\xAF\xF3\xB3w"},
      {"umlaut shared by both pages", demo::toSharedAnsi, "Käfer",
       "K\xE4"
       "fer"},
      {"plain ASCII", demo::toSharedAnsi, "1.9 TDI 66kW", "1.9 TDI 66kW"},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.convert(c.utf8), c.expected) << c.label;
}

TEST(AnsiTextTest, CharactersThePageLacksThrow) {
  const struct {
    const char* label;
    std::string (*convert)(std::string_view);
    const char* utf8;
  } kCases[] = {
      {"Polish letter in Windows-1252", demo::toWindows1252, "ł"},
      {"French letter in Windows-1250", demo::toWindows1250, "è"},
      {"Polish letter in text that both programs show", demo::toSharedAnsi, "ł"},
      {"euro sign, outside Latin-1", demo::toWindows1252, "€"},
      {"cut-off sequence", demo::toWindows1252, "\xC3"},
      {"four-byte sequence", demo::toWindows1250, "\xF0\x9F\x98\x80"},
  };
  for (const auto& c : kCases) EXPECT_THROW(c.convert(c.utf8), std::invalid_argument) << c.label;
}

}  // namespace
