// Helpers of the selection and search tests: what the main window's lists and status line hold,
// in UTF-8 for readable expectations; a choice made as the user makes it; and a fixed date.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/support/CatalogRun.h"
#include "app/support/StatementLog.h"
#include "platform/Shell.h"

class TComboBox;
class TWinControl;
class TForm1;
class TListView;

namespace cascade {

// The build's texts of the selection lists and the status line, in UTF-8, and the first words
// of the two result queries.
namespace texts {
#if CATALOG_POLISH
inline constexpr const char kMakePlaceholder[] = "Wybierz";
inline constexpr const char kModelPlaceholder[] = "Wybierz";
inline constexpr const char kModelPlaceholderWithoutMake[] = "Wybierz markę";
inline constexpr const char kYearCapacityPlaceholder[] = "Wybierz model";
inline constexpr const char kAll[] = "Wszystkie";
inline constexpr const char kHint[] = "Aby wyszukać interesujący Cię układ, użyj powyższego formularza.";
inline constexpr const char kNoHits[] =
    "Przepraszamy, nie znaleziono układów spełniających Twoje kryteria wyszukiwania.";
#else
inline constexpr const char kMakePlaceholder[] = "Auswählen";
inline constexpr const char kModelPlaceholder[] = "Auswählen";
inline constexpr const char kModelPlaceholderWithoutMake[] = "Marke auswählen";
inline constexpr const char kYearCapacityPlaceholder[] = "Modell auswählen";
inline constexpr const char kAll[] = "Alle";
inline constexpr const char kHint[] =
    "Um passende Anlage zu finden, füllen Sie einfach das obige Formular aus.";
inline constexpr const char kNoHits[] = "Es würden keine Produkte nach Ihrem Auswahlkriterien gefunden.";
#endif
inline constexpr const char kSelectionPrefix[] = "SELECT ID_UKLAD, VELDO";
inline constexpr const char kSearchPrefix[] = "SELECT AUTA.ID_UKLAD AS ID_UKLAD";
}  // namespace texts

// The entries of a list, top to bottom.
std::vector<std::string> entriesOf(TComboBox* combo);

// The rows of the result list: the caption, then the sub-items, of each row.
using ListRow = std::vector<std::string>;
std::vector<ListRow> rowsOf(TListView* list);

// The caption of the status line Label5.
std::string statusLine(TForm1* form);

// Opens the list and clicks the entry with this text, as the user does; the test fails when the
// list holds no such entry.
void choose(TComboBox* combo, const std::string& utf8Entry);

// Whether the control is the one of its window that takes the keys whenever the window is
// active. (The offscreen platform leaves no window active once a drop-down list has closed.)
bool holdsTheFocus(TWinControl* control);

// Stops the main window's update-check timer, so that a test that runs for longer than the
// timer's six seconds meets no update question of its own.
void holdUpdateCheck(TForm1* form);

// Text in the build's code page, for values the tests put into the program.
std::string ansi(const std::string& utf8);

// While it lives, the computer's clock shows this year (1 May).
class FixedYear {
 public:
  explicit FixedYear(int year);
  FixedYear(const FixedYear&) = delete;
  FixedYear& operator=(const FixedYear&) = delete;
  ~FixedYear();

 private:
  platform::TodayHandler previous_;
};

// The fixture of the selection and search tests: a working folder with the catalogue and the
// logo, the statements the program sends SQLite, and the program started for the test's steps.
class ProgramTest : public ::testing::Test {
 protected:
  explicit ProgramTest(std::string catalogue) : catalogue_(std::move(catalogue)) {}

  void SetUp() override;

  // Starts the program and runs `steps` with the main window up, its update check held and the
  // statements of start-up left out of the log.
  void withMainWindow(const std::function<void()>& steps);

  WorkingFolder folder;
  StatementLog log;
  StartupRun run;

 private:
  std::string catalogue_;
};

}  // namespace cascade
