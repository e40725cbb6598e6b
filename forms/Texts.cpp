#include "forms/Texts.h"

#include <cassert>
#include <string>
#include <utility>

#include "platform/CodePage.h"

namespace {

// The German text, or the Polish one, of the build.
constexpr const char* pick(const char* german, const char* polish) {
  return CATALOG_POLISH ? polish : german;
}

AnsiString convert(const char* utf8) { return AnsiString::FromUtf8(utf8); }

// "http://veldo.example" is shown as "VELDO.EXAMPLE", so the caption can never name another
// site than the one a click opens.
AnsiString webSiteCaption() {
  std::string caption = kWebSiteAddress;
  const std::string scheme = "http://";
  if (caption.compare(0, scheme.size(), scheme) == 0) caption.erase(0, scheme.size());
  for (char& c : caption) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return AnsiString(std::move(caption));
}

TextSet buildTexts() {
  TextSet t;

  t.applicationTitle = convert("VELDO - Katalog Produktów");
  t.mainCaption = convert(pick("med", "VELDO - Katalog Produktów"));
  t.splashCaption = convert("Form3");
  t.detailsCaption = convert("VELDO");

  t.makeLabel = convert(pick("Marke:", "Marka:"));
  t.modelLabel = convert(pick("Modell:", "Model:"));
  t.yearLabel = convert(pick("Baujahr:", "Lata produkcji:"));
  t.capacityLabel = convert(pick("Hubraum:", "Silnik:"));
  t.statusHint = convert(pick("Um passende Anlage zu finden, füllen Sie einfach das obige Formular aus.",
                              "Aby wyszukać interesujący Cię układ, użyj powyższego formularza."));
  t.detailsInstruction = convert(pick(
      "Um alle Einzelheiten der interessanten Anlage zu sehen, wählen Sie in der nachstehenden Liste und "
      "klicken Sie den Druckknopf \"Details\"",
      "Aby zobaczyć szczegóły interesującego Cię układu, wybierz go z poniższej listy a następnie kliknij w "
      "przycisk \"Pokaż szczegóły\""));
  t.numberSearchLabel = convert(pick("Suchen Anhand der Schalldämpfernummer:", "Szukaj wg numeru wyrobu:"));
  t.catalogueDate = convert(pick("Aktualität: 13.11.2017", "Ostatnia aktualizacja: 13.11.2017"));
  t.webSiteCaption = webSiteCaption();

  t.detailsButton = convert(pick("Details", "Pokaż szczegóły"));
  t.searchButton = convert(pick("Suchen", "Szukaj"));
  t.catalystFilter = convert(pick("Katalysator", "Katalizator"));
  t.dieselFilter = convert("Diesel");

  t.columnSystem = convert(pick("Abgasanlage", "Układ"));
  t.columnMake = convert(pick("Marke", "Marka"));
  t.columnModel = convert(pick("Modell", "Model"));
  t.columnBody = convert(pick("Ausführung", "Nadwozie"));
  t.columnYears = convert(pick("Baujahr", "Lata produkcji"));
  t.columnEngine = convert(pick("Motor", "Silnik"));
  t.columnCapacity = AnsiString();
  t.columnAdditional = convert(pick("Zusatzinformation", "Dodatkowe"));

  t.makePlaceholder = convert(pick("Auswählen", "Wybierz"));
  t.modelPlaceholder = convert(pick("Auswählen", "Wybierz"));
  t.modelPlaceholderWithoutMake = convert(pick("Marke auswählen", "Wybierz markę"));
  t.yearCapacityPlaceholder = convert(pick("Modell auswählen", "Wybierz model"));
  t.interimAllEntry = convert("Wszystkie");
  t.allEntry = convert(pick("Alle", "Wszystkie"));

  t.noHitsStatus =
      convert(pick("Es würden keine Produkte nach Ihrem Auswahlkriterien gefunden.",
                   "Przepraszamy, nie znaleziono układów spełniających Twoje kryteria wyszukiwania."));
  t.selectionHitsFormat = convert(pick("Es würden %d Abgasanlagen nach Ihren Auswahlkriterien gefunden.",
                                       "Znaleziono %d układów spełniających Twoje kryteria wyszukiwania."));
  t.searchHitsFormat = convert(pick("Abgasanlagen, die den Schalldämpfer mit der Nummer %s beinhalten",
                                    "Znaleziono %d układów zawierających tłumik o numerze  %s"));

  t.emptySearchText = convert(pick("Keine Schalldämpfernummer.", "Musisz wpisać szukaną frazę."));
  t.emptySearchCaption = convert(pick("FEHLER", "BŁĄD"));

  t.noSelectionText = convert("Select exhaust system before viewing details.");
  t.noSelectionCaption = convert("ERROR");

  t.panelSystem = convert(pick("Abgasanlage:", "Układ:"));
  t.panelMake = convert(pick("Marke:", "Marka:"));
  t.panelModel = convert(pick("Modell:", "Model:"));
  t.panelVersion = convert(pick("Version:", "Wersja:"));
  t.panelBody = convert(pick("Ausführung:", "Nadwozie:"));
  t.panelYears = convert(pick("Baujahr:", "Lata produkcji:"));
  t.panelEngine = convert(pick("Motor:", "Silnik:"));
  t.panelAdditional = convert(pick("Zusatzinformation:", "Dodatkowe:"));
  t.panelNullAdditional = convert("(null)");

  t.headerKind = convert("Typ");
  t.headerNumber = convert(pick("Artikel", "Symbol"));
  t.headerQuantity = convert(pick("Menge", "Ilość"));

  t.updateAskText = convert(pick("Wollen Sie verfügbare Aktualisierung der Katalogdatenbank nachsehen?",
                                 "Czy chcesz sprawdzić dostępne aktualizacje bazy danych katalogu?"));
  t.updateAskCaption = convert(pick("Aktualisierung", "Aktualizacje"));
  t.updateNewerText =
      convert(pick("Neue Aktualisierung ist schon verfügbar. Wollen Sie die Aktualisierungsseite öffnen?",
                   "Dostępna jest nowa wersja aktualizacji. Czy chcesz przejść do strony pobierania?"));
  t.updateNewerCaption = convert(pick("Aktualisierung", "Nowe aktualizacje"));
  t.updateNoneText = convert(pick("Verfügbare Aktualisierung fehlt", "Brak nowych aktualizacji."));
  t.updateNoneCaption = convert(pick("Aktualisierung", "Aktualizacje"));
  t.noConnectionText =
      convert(pick("keine Verbindung zum Server - Aktualisierungssuche unmöglich.",
                   "Nie można połączyć się z serwerem w celu sprawdzenia dostępnych aktualizacji"));
  t.noConnectionCaption = convert(pick("FEHLER", "BŁĄD"));

  // Written as Windows-1250 bytes rather than converted: both programs carry the same bytes
  // (0x9C s acute, 0xEA e ogonek, 0xB9 a ogonek, 0xF3 o acute).
  t.fieldNumberNotPositive = AnsiString(
      "Funkcja oczekuje warto\x9C"
      "ci wi\xEA"
      "kszej od zera!");
  t.tooFewFieldsPrefix = AnsiString(
      "Podany ci\xB9"
      "g znak\xF3"
      "w zawiera tylko ");
  t.tooFewFieldsSuffix = AnsiString(" rekord\xF3w!");

  return t;
}

}  // namespace

const TextSet& texts() {
  // Converted once; the code page must be the build's by now, or every letter outside ASCII
  // would come out in the wrong code page for the rest of the run.
  assert(platform::ansiCodePage() == kCodePage);
  static const TextSet set = buildTexts();
  return set;
}

AnsiString selectionHitsStatus(int count) {
  return AnsiString::Format(texts().selectionHitsFormat.c_str(), count);
}

AnsiString searchHitsStatus(int count, const AnsiString& searchText) {
#if CATALOG_POLISH
  return AnsiString::Format(texts().searchHitsFormat.c_str(), count, searchText.c_str());
#else
  static_cast<void>(count);
  return AnsiString::Format(texts().searchHitsFormat.c_str(), searchText.c_str());
#endif
}

AnsiString updatePageAddress() { return AnsiString("http://") + kWebServerHost + kUpdatePagePath; }
