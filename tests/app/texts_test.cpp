#include "forms/Texts.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "app/WinMain.h"
#include "platform/AnsiString.h"
#include "platform/CodePage.h"

namespace {

struct TextCase {
  const char* label;
  const AnsiString& actual;
  const char* expected;  // the bytes in the build's code page
};

std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 0x0F];
    }
  }
  return out;
}

void expectBytes(const TextCase* cases, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    EXPECT_EQ(hex(cases[i].actual.str()), hex(cases[i].expected)) << cases[i].label;
  }
}

TEST(TextSetTest, ProgramsRunInTheirOwnCodePage) {
  const int programs = CATALOG_POLISH ? 1250 : 1252;
  const int other = CATALOG_POLISH ? 1252 : 1250;
  platform::setAnsiCodePage(other);
  useProgramCodePage();
  EXPECT_EQ(platform::ansiCodePage(), programs);
}

TEST(TextSetTest, ApplicationTitleIsTheSameInBothProgramsWithOAcuteAsF3) {
  // o acute is 0xF3 in Windows-1252 and Windows-1250 alike.
  EXPECT_EQ(hex(texts().applicationTitle.str()), hex("VELDO - Katalog Produkt\xF3w"));
}

TEST(TextSetTest, TextsThatBothProgramsShareAreByteForByteTheSame) {
  const TextSet& t = texts();
  const TextCase cases[] = {
      {"no selection text", t.noSelectionText, "Select exhaust system before viewing details."},
      {"no selection caption", t.noSelectionCaption, "ERROR"},
      {"details window caption", t.detailsCaption, "VELDO"},
      {"diesel filter", t.dieselFilter, "Diesel"},
      {"interim year and capacity entry", t.interimAllEntry, "Wszystkie"},
      {"kind header", t.headerKind, "Typ"},
      {"web site caption", t.webSiteCaption, "VELDO.EXAMPLE"},
      {"splash caption", t.splashCaption, "Form3"},
      {"capacity column has no caption", t.columnCapacity, ""},
      {"additional information that is NULL", t.panelNullAdditional, "(null)"},
      // getField's messages keep their Windows-1250 bytes in the German program too.
      {"field number not positive", t.fieldNumberNotPositive,
       "Funkcja oczekuje warto\x9C"
       "ci wi\xEA"
       "kszej od zera!"},
      {"too few fields, first piece", t.tooFewFieldsPrefix,
       "Podany ci\xB9"
       "g znak\xF3"
       "w zawiera tylko "},
      {"too few fields, last piece", t.tooFewFieldsSuffix, " rekord\xF3w!"},
  };
  expectBytes(cases, std::size(cases));
}

#if CATALOG_POLISH

TEST(TextSetTest, PolishLettersAreWindows1250Bytes) {
  const TextSet& t = texts();
  const TextCase cases[] = {
      {"main window caption", t.mainCaption, "VELDO - Katalog Produkt\xF3w"},
      {"model placeholder without make", t.modelPlaceholderWithoutMake, "Wybierz mark\xEA"},
      {"make placeholder", t.makePlaceholder, "Wybierz"},
      {"first year entry", t.allEntry, "Wszystkie"},
      {"details button", t.detailsButton, "Poka\xBF szczeg\xF3\xB3y"},
      {"empty search caption", t.emptySearchCaption,
       "B\xA3\xA5"
       "D"},
      {"empty search text", t.emptySearchText, "Musisz wpisa\xE6 szukan\xB9 fraz\xEA."},
      {"quantity header", t.headerQuantity, "Ilo\x9C\xE6"},
      {"system column", t.columnSystem,
       "Uk\xB3"
       "ad"},
      {"status hint", t.statusHint,
       "Aby wyszuka\xE6 interesuj\xB9"
       "cy Ci\xEA uk\xB3"
       "ad, u\xBFyj powy\xBFszego formularza."},
      {"search hits format: two blanks before the number", t.searchHitsFormat,
       "Znaleziono %d uk\xB3"
       "ad\xF3w zawieraj\xB9"
       "cych t\xB3umik o numerze  %s"},
      {"no connection text", t.noConnectionText,
       "Nie mo\xBFna po\xB3\xB9"
       "czy\xE6 si\xEA z serwerem w celu sprawdzenia dost\xEApnych aktualizacji"},
      {"details instruction: quotation marks are part of it", t.detailsInstruction,
       "Aby zobaczy\xE6 szczeg\xF3\xB3y interesuj\xB9"
       "cego Ci\xEA uk\xB3"
       "adu, wybierz go z poni\xBFszej listy a "
       "nast\xEApnie kliknij w przycisk \"Poka\xBF szczeg\xF3\xB3y\""},
  };
  expectBytes(cases, std::size(cases));
}

TEST(TextSetTest, GetFieldMessagesAreTheirPolishWordsInWindows1250) {
  EXPECT_EQ(texts().fieldNumberNotPositive,
            AnsiString::FromUtf8("Funkcja oczekuje wartości większej od zera!"));
  EXPECT_EQ(texts().tooFewFieldsPrefix, AnsiString::FromUtf8("Podany ciąg znaków zawiera tylko "));
  EXPECT_EQ(texts().tooFewFieldsSuffix, AnsiString::FromUtf8(" rekordów!"));
}

TEST(TextSetTest, SearchStatusStatesTheCountAndThenTheSearchText) {
  EXPECT_EQ(hex(searchHitsStatus(3, "123").str()), hex("Znaleziono 3 uk\xB3"
                                                       "ad\xF3w zawieraj\xB9"
                                                       "cych t\xB3umik o numerze  123"));
}

TEST(TextSetTest, SelectionStatusStatesTheCount) {
  EXPECT_EQ(hex(selectionHitsStatus(12).str()), hex("Znaleziono 12 uk\xB3"
                                                    "ad\xF3w spe\xB3niaj\xB9"
                                                    "cych Twoje kryteria wyszukiwania."));
}

TEST(TextSetTest, UpdatePageIsThePolishOne) {
  EXPECT_EQ(updatePageAddress().str(), "http://veldo.example/veldo2007/katalog/cat_update_pl");
}

#else

TEST(TextSetTest, GermanLettersAreWindows1252Bytes) {
  const TextSet& t = texts();
  const TextCase cases[] = {
      {"main window caption", t.mainCaption, "med"},
      {"model placeholder without make", t.modelPlaceholderWithoutMake, "Marke ausw\xE4hlen"},
      {"make placeholder", t.makePlaceholder, "Ausw\xE4hlen"},
      {"first year entry", t.allEntry, "Alle"},
      {"number search label", t.numberSearchLabel, "Suchen Anhand der Schalld\xE4mpfernummer:"},
      {"catalogue date", t.catalogueDate, "Aktualit\xE4t: 13.11.2017"},
      {"body column", t.columnBody, "Ausf\xFChrung"},
      {"no hits status keeps its wording", t.noHitsStatus,
       "Es w\xFCrden keine Produkte nach Ihrem Auswahlkriterien gefunden."},
      {"newer update text", t.updateNewerText,
       "Neue Aktualisierung ist schon verf\xFCgbar. Wollen Sie die Aktualisierungsseite \xF6"
       "ffnen?"},
      {"no connection text", t.noConnectionText,
       "keine Verbindung zum Server - Aktualisierungssuche unm\xF6glich."},
      {"empty search caption", t.emptySearchCaption, "FEHLER"},
      {"details instruction: quotation marks are part of it", t.detailsInstruction,
       "Um alle Einzelheiten der interessanten Anlage zu sehen, w\xE4hlen Sie in der nachstehenden Liste und "
       "klicken Sie den Druckknopf \"Details\""},
  };
  expectBytes(cases, std::size(cases));
}

TEST(TextSetTest, SearchStatusNamesTheSearchTextWithoutACount) {
  EXPECT_EQ(hex(searchHitsStatus(3, "123").str()),
            hex("Abgasanlagen, die den Schalld\xE4mpfer mit der Nummer 123 beinhalten"));
}

TEST(TextSetTest, SelectionStatusStatesTheCount) {
  EXPECT_EQ(hex(selectionHitsStatus(12).str()),
            hex("Es w\xFCrden 12 Abgasanlagen nach Ihren Auswahlkriterien gefunden."));
}

TEST(TextSetTest, UpdatePageIsTheGermanOne) {
  EXPECT_EQ(updatePageAddress().str(), "http://veldo.example/veldo2007/katalog/cat_update_de");
}

#endif

TEST(TextSetTest, SearchTextWithConversionsIsShownAsTyped) {
  const AnsiString status = searchHitsStatus(1, "%s%d%n");
  EXPECT_NE(status.Pos("%s%d%n"), 0) << status.str();
}

// Names under ".example" cannot be registered by anyone, so no request reaches a stranger.
TEST(TextSetTest, MakersServerAndSiteLieUnderTheReservedExampleDomain) {
  const auto endsWithExample = [](const std::string& name) {
    const std::string domain = ".example";
    return name.size() > domain.size() &&
           name.compare(name.size() - domain.size(), domain.size(), domain) == 0;
  };
  EXPECT_TRUE(endsWithExample(kWebServerHost)) << kWebServerHost;
  EXPECT_TRUE(endsWithExample(kWebSiteAddress)) << kWebSiteAddress;
}

}  // namespace
